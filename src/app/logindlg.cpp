#include "app/logindlg.h"

#include "app/passwordstore.h"
#include "app/powertable.h"
#include "app/vantrelapp.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CLoginDlg::CLoginDlg(CVantrelApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_userBox(new QComboBox(this)),
      m_passwordEdit(new QLineEdit(this))
{
    setObjectName(u"IDD_LOGIN"_s);
    setWindowTitle(u"用户登陆"_s);
    m_userBox->setObjectName(u"IDC_USER"_s);
    m_userBox->setEditable(true);
    // The name is taken as typed: no completion, and nothing typed joins the list.
    m_userBox->setCompleter(nullptr);
    m_userBox->setInsertPolicy(QComboBox::NoInsert);
    m_userBox->setMinimumWidth(180);
    m_passwordEdit->setObjectName(u"IDC_PASSWORD"_s);
    m_passwordEdit->setEchoMode(QLineEdit::Password);

    auto* note = new QLabel(u"“管理员”初始密码为：583016"_s, this);
    note->setObjectName(u"note"_s);
    QDialogButtonBox* buttons =
        NewDialogButtonBox(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto* form = new QFormLayout;
    form->addRow(u"用户名："_s, m_userBox);
    form->addRow(u"密  码："_s, m_passwordEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);

    FillUsers();
    m_passwordEdit->setFocus();
}

void CLoginDlg::FillUsers()
{
    if (!EnsurePowerTable(m_app, this))
        return;
    CADORecordset power(m_app.Database());
    const bool read = OpenEachRow(power, u"SELECT * FROM power"_s, [&] {
        QString user;
        power.GetFieldText(u"user"_s, user);
        m_userBox->addItem(user);
    });
    if (!read)
        Warn(this, u"数据库无法打开，请与作者联系！"_s);
    if (m_userBox->count() > 0)
        m_userBox->setCurrentIndex(0);
}

// The reversible form of an earlier version gives way to the hash. A file that takes no writes
// keeps it until a sign-in that can write.
void CLoginDlg::ReplaceStoredForm(CADORecordset& power, const QString& password)
{
    const QString hash = passwords::Hash(password);
    if (hash.isEmpty())
        return;
    power.Edit();
    if (!power.SetFieldText(u"pas"_s, hash) || !power.Update())
        power.CancelUpdate();
}

void CLoginDlg::accept()
{
    const QString user = m_userBox->currentText();
    const QString password = m_passwordEdit->text();
    // Any entry that begins with the typed text, without regard to case, lets the name pass.
    if (m_userBox->findText(user, Qt::MatchStartsWith) < 0) {
        Warn(this, u"不存在的用户名，无法登陆！"_s);
        return;
    }
    QString stored;
    // The user is the row whose password is checked, under the name that row spells.
    QString signedIn = user;
    CADORecordset power(m_app.Database());
    // A password that cannot be read is never taken as an empty one.
    if (!power.Open(PowerQueryFor(user))) {
        Warn(this, u"数据库无法打开，请与作者联系！"_s);
        return;
    }
    const bool found = MoveToUser(power, user);
    if (found) {
        power.GetFieldText(u"pas"_s, stored);
        power.GetFieldText(u"user"_s, signedIn);
    }
    const passwords::Match match = passwords::Check(password, stored);
    if (match == passwords::Match::No) {
        Warn(this, u"密码错误！"_s);
        return;
    }
    if (found && match == passwords::Match::YesOutdated)
        ReplaceStoredForm(power, password);
    m_app.Session().SetUser(signedIn);
    QDialog::accept();
}

#include "moc_logindlg.cpp"
