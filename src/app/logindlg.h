#pragma once

#include <QDialog>

class CADORecordset;
class CVantrelApp;
class QComboBox;
class QLineEdit;

// "用户登陆": the user picks or types a name from table `power` and gives the password. On
// opening, a data file without the table gets it with the administrator.
class CLoginDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CLoginDlg(CVantrelApp& app, QWidget* parent = nullptr);

    // OK: the name must begin an entry of the list and the password must match the stored one
    // of the row the name finds (the one spelt exactly so, else the first); then that row's
    // name, as stored, becomes the signed-in user.
    void accept() override;

    QComboBox* UserBox() const { return m_userBox; }
    QLineEdit* PasswordEdit() const { return m_passwordEdit; }

private:
    void FillUsers();
    void ReplaceStoredForm(CADORecordset& power, const QString& password);

    CVantrelApp& m_app;
    QComboBox* m_userBox;
    QLineEdit* m_passwordEdit;
};
