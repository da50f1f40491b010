#include "app/serverpassworddlg.h"

#include "kit/dialogbuttons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CServerPasswordDlg::CServerPasswordDlg(const QString& server, QWidget* parent)
    : QDialog(parent), m_passwordEdit(new QLineEdit(this))
{
    setObjectName(u"IDD_SERVERPASSWORD"_s);
    setWindowTitle(u"数据库服务器密码"_s);
    m_passwordEdit->setObjectName(u"IDC_SERVERPASSWORD"_s);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->setMinimumWidth(240);
    auto* label = new QLabel(u"请输入连接数据库服务器 %1 的密码："_s.arg(server), this);
    label->setObjectName(u"server"_s);
    label->setBuddy(m_passwordEdit);
    QDialogButtonBox* buttons =
        NewDialogButtonBox(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_passwordEdit);
    layout->addWidget(buttons);
    m_passwordEdit->setFocus();
}

QString CServerPasswordDlg::Password() const
{
    return m_passwordEdit->text();
}

#include "moc_serverpassworddlg.cpp"
