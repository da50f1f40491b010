#pragma once

#include "app/serversettings.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The work-path dialog's page for a database server: 主机, 端口, 数据库, 用户名, 密码, 加密连接
// (with the CA file a verified connection checks against) and "测试连接".
class CServerPage : public QWidget
{
    Q_OBJECT
public:
    explicit CServerPage(QWidget* parent = nullptr);

    CServerSettings Settings() const;
    void SetSettings(const CServerSettings& settings);
    QString Password() const;
    void SetPassword(const QString& password);
    QPushButton* TestButton() const { return m_testButton; }

private:
    void OnEncryptionChanged();
    void OnChooseCaFile();

    QLineEdit* m_hostEdit;
    QSpinBox* m_portBox;
    QLineEdit* m_databaseEdit;
    QLineEdit* m_userEdit;
    QLineEdit* m_passwordEdit;
    QComboBox* m_encryptionBox;
    QLineEdit* m_caFileEdit;
    QPushButton* m_caFileButton;
    QPushButton* m_testButton;
};
