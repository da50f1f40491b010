#include "app/changepassworddlg.h"

#include "app/passwordstore.h"
#include "app/powertable.h"
#include "app/vantrelapp.h"
#include "data/adorecordset.h"
#include "data/gbktext.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CChangePasswordDlg::CChangePasswordDlg(CVantrelApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_newEdit(new QLineEdit(this)),
      m_confirmEdit(new QLineEdit(this))
{
    setObjectName(u"IDD_CHANGEPASSWORD"_s);
    setWindowTitle(u"修改密码"_s);
    m_newEdit->setObjectName(u"IDC_NEWPASSWORD"_s);
    m_newEdit->setEchoMode(QLineEdit::Password);
    m_confirmEdit->setObjectName(u"IDC_CONFIRMPASSWORD"_s);
    m_confirmEdit->setEchoMode(QLineEdit::Password);

    QDialogButtonBox* buttons = NewDialogButtonBox(this, QDialogButtonBox::NoButton);
    QPushButton* change = buttons->addButton(u"修改"_s, QDialogButtonBox::AcceptRole);
    change->setObjectName(u"IDOK"_s);
    change->setDefault(true);
    QPushButton* cancel = buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    cancel->setObjectName(u"IDCANCEL"_s);

    auto* form = new QFormLayout;
    form->addRow(u"新密码："_s, m_newEdit);
    form->addRow(u"确认新密码："_s, m_confirmEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CChangePasswordDlg::accept()
{
    const QString password = m_newEdit->text();
    // The stored form is made of the code-page bytes, which other characters do not have.
    if (!IsGbkText(password)) {
        Warn(this, u"新密码含有无法保存的字符，请只使用汉字、英文字母、数字和常用符号！"_s);
        return;
    }
    if (GbkLength(password) > kMaxPasswordBytes) {
        Warn(this, u"新密码过长，请不要超过20位！"_s);
        return;
    }
    if (password != m_confirmEdit->text()) {
        Warn(this, u"新密码和确认新密码不一致，请重新输入！"_s);
        return;
    }
    const QString stored = passwords::Hash(password);
    CADORecordset power(m_app.Database());
    if (!power.Open(PowerQueryFor(m_app.Session().User()))) {
        Warn(this, u"权限分配表无法打开，密码无法更新！"_s);
        return;
    }
    if (!MoveToUser(power, m_app.Session().User(), true)) {
        Warn(this, u"没有找到当前用户，无法更新密码！"_s);
        return;
    }
    power.Edit();
    if (stored.isEmpty() || !power.SetFieldText(u"pas"_s, stored) || !power.Update()) {
        power.CancelUpdate();
        Warn(this, u"数据库错误，新密码无法更新！"_s);
        return;
    }
    Inform(this, u"密码修改成功！"_s);
    QDialog::accept();
}

#include "moc_changepassworddlg.cpp"
