#pragma once

#include <QDialog>

class QLineEdit;

// "数据库服务器密码": asks for the server's password at start-up when the keyring keeps none or
// does not answer. The password serves the one run.
class CServerPasswordDlg : public QDialog
{
    Q_OBJECT
public:
    // `server` as the user knows it ("user@host:port/database").
    explicit CServerPasswordDlg(const QString& server, QWidget* parent = nullptr);

    QString Password() const;
    QLineEdit* PasswordEdit() const { return m_passwordEdit; }

private:
    QLineEdit* m_passwordEdit;
};
