#pragma once

#include "app/serversettings.h"

#include <QWidget>

class CADODatabase;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The page for a database server in the work-path and upload dialogs: 主机, 端口, 数据库, 用户名,
// 密码, 加密连接 (with the CA file a verified connection checks against) and "测试连接", which
// says what stands in the way. Relative CA files are taken in `workFolder`.
class CServerPage : public QWidget
{
    Q_OBJECT
public:
    explicit CServerPage(const QString& workFolder, QWidget* parent = nullptr);

    CServerSettings Settings() const;
    void SetSettings(const CServerSettings& settings);
    QString Password() const;
    void SetPassword(const QString& password);
    QPushButton* TestButton() const { return m_testButton; }

    // The connection string of what is filled in, after checking that it is complete; "" (and
    // said why) when it is not.
    QString CheckedConnectionString();
    // Opens the server's database and sets it up when it is empty; false, and said why, when
    // the server cannot be reached or the database is not ours.
    bool OpenDatabase(CADODatabase& database);

private:
    void OnEncryptionChanged();
    void OnChooseCaFile();
    void OnTestConnection();

    QString m_workFolder;
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
