#pragma once

#include <QDialog>

class CVantrelApp;
class QLineEdit;

// "修改密码": the signed-in user gives a new password twice; it is stored enciphered.
class CChangePasswordDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxPasswordBytes = 20;

    explicit CChangePasswordDlg(CVantrelApp& app, QWidget* parent = nullptr);

    // "修改": checks the length and the confirmation, then saves.
    void accept() override;

    QLineEdit* NewPasswordEdit() const { return m_newEdit; }
    QLineEdit* ConfirmEdit() const { return m_confirmEdit; }

private:
    CVantrelApp& m_app;
    QLineEdit* m_newEdit;
    QLineEdit* m_confirmEdit;
};
