#include "app/serverpage.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {
QLineEdit* NewEdit(const QString& objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}
} // namespace

CServerPage::CServerPage(QWidget* parent)
    : QWidget(parent), m_hostEdit(NewEdit(u"IDC_SERVERHOST"_s, this)),
      m_portBox(new QSpinBox(this)), m_databaseEdit(NewEdit(u"IDC_SERVERDATABASE"_s, this)),
      m_userEdit(NewEdit(u"IDC_SERVERUSER"_s, this)),
      m_passwordEdit(NewEdit(u"IDC_SERVERPASSWORD"_s, this)), m_encryptionBox(new QComboBox(this)),
      m_caFileEdit(NewEdit(u"IDC_SERVERCAFILE"_s, this)),
      m_caFileButton(new QPushButton(u"…"_s, this)),
      m_testButton(new QPushButton(u"测试连接"_s, this))
{
    setObjectName(u"serverPage"_s);
    m_portBox->setObjectName(u"IDC_SERVERPORT"_s);
    m_portBox->setRange(1, 65535);
    m_portBox->setValue(CServerSettings().port);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_encryptionBox->setObjectName(u"IDC_SERVERENCRYPTION"_s);
    // In the order of ServerEncryption.
    m_encryptionBox->addItems({u"关闭"_s, u"必须加密"_s, u"验证服务器证书"_s});
    m_caFileButton->setObjectName(u"IDC_CHOOSECAFILE"_s);
    m_caFileButton->setAutoDefault(false);
    m_testButton->setObjectName(u"IDC_TESTCONNECTION"_s);
    m_testButton->setAutoDefault(false);
    connect(m_encryptionBox, &QComboBox::currentIndexChanged, this,
            &CServerPage::OnEncryptionChanged);
    connect(m_caFileButton, &QPushButton::clicked, this, &CServerPage::OnChooseCaFile);

    auto* caFile = new QHBoxLayout;
    caFile->addWidget(m_caFileEdit);
    caFile->addWidget(m_caFileButton);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(u"主机："_s, m_hostEdit);
    form->addRow(u"端口："_s, m_portBox);
    form->addRow(u"数据库："_s, m_databaseEdit);
    form->addRow(u"用户名："_s, m_userEdit);
    form->addRow(u"密码："_s, m_passwordEdit);
    form->addRow(u"加密连接："_s, m_encryptionBox);
    form->addRow(u"CA证书文件："_s, caFile);
    form->addRow(QString(), m_testButton);
    OnEncryptionChanged();
}

CServerSettings CServerPage::Settings() const
{
    CServerSettings settings;
    settings.host = m_hostEdit->text().trimmed();
    settings.port = m_portBox->value();
    settings.database = m_databaseEdit->text().trimmed();
    settings.user = m_userEdit->text().trimmed();
    settings.encryption = static_cast<ServerEncryption>(m_encryptionBox->currentIndex());
    settings.caFile = m_caFileEdit->text().trimmed();
    return settings;
}

void CServerPage::SetSettings(const CServerSettings& settings)
{
    m_hostEdit->setText(settings.host);
    m_portBox->setValue(settings.port);
    m_databaseEdit->setText(settings.database);
    m_userEdit->setText(settings.user);
    m_encryptionBox->setCurrentIndex(static_cast<int>(settings.encryption));
    m_caFileEdit->setText(settings.caFile);
}

QString CServerPage::Password() const
{
    return m_passwordEdit->text();
}

void CServerPage::SetPassword(const QString& password)
{
    m_passwordEdit->setText(password);
}

void CServerPage::OnEncryptionChanged()
{
    const bool verified = m_encryptionBox->currentIndex() == int(ServerEncryption::Verified);
    m_caFileEdit->setEnabled(verified);
    m_caFileButton->setEnabled(verified);
}

void CServerPage::OnChooseCaFile()
{
    QFileDialog dialog(this, QString(), QFileInfo(m_caFileEdit->text()).absolutePath(),
                       u"证书文件(*.crt *.pem)"_s);
    dialog.setObjectName(u"chooseCaFile"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_caFileEdit->setText(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
}

#include "moc_serverpage.cpp"
