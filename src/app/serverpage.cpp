#include "app/serverpage.h"

#include "app/serverdatabase.h"
#include "app/serverfailures.h"
#include "data/adodatabase.h"
#include "data/serverprobe.h"
#include "kit/filechoice.h"
#include "kit/messages.h"

#include <QComboBox>
#include <QDir>
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

CServerPage::CServerPage(const QString& workFolder, QWidget* parent)
    : QWidget(parent), m_workFolder(workFolder), m_hostEdit(NewEdit(u"IDC_SERVERHOST"_s, this)),
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
    connect(m_testButton, &QPushButton::clicked, this, &CServerPage::OnTestConnection);

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
    FileChoice choice;
    choice.objectName = u"chooseCaFile"_s;
    choice.folder = QFileInfo(m_caFileEdit->text()).absolutePath();
    choice.filters = {u"证书文件(*.crt *.pem)"_s};
    choice.readOnly = true;
    const QString file = ChooseFile(this, choice);
    if (!file.isEmpty())
        m_caFileEdit->setText(QFileInfo(file).absoluteFilePath());
}

QString CServerPage::CheckedConnectionString()
{
    const CServerSettings server = Settings();
    if (!server.IsComplete()) {
        Warn(this, u"请填写数据库服务器的主机、数据库和用户名！"_s);
        return {};
    }
    if (server.encryption == ServerEncryption::Verified &&
        !QFileInfo(QDir(m_workFolder).filePath(server.caFile)).isFile()) {
        Warn(this, u"验证服务器证书需要CA证书文件，所填的文件不存在：\n%1"_s.arg(server.caFile));
        return {};
    }
    return server.ConnectionString(Password(), m_workFolder);
}

void CServerPage::OnTestConnection()
{
    const QString connection = CheckedConnectionString();
    if (connection.isEmpty())
        return;
    const vantrel::db::ServerProbeResult result = vantrel::db::ProbeServer(connection);
    if (result.outcome == vantrel::db::ServerProbe::Works)
        Inform(this, ServerProbeText(result), u"测试连接"_s);
    else
        Warn(this, ServerProbeText(result), u"测试连接"_s);
}

bool CServerPage::OpenDatabase(CADODatabase& database)
{
    const QString connection = CheckedConnectionString();
    if (connection.isEmpty())
        return false;
    const vantrel::db::ServerProbeResult probe = vantrel::db::ProbeServer(connection);
    if (probe.outcome != vantrel::db::ServerProbe::Works) {
        Warn(this, u"无法连接数据库服务器：\n%1"_s.arg(ServerProbeText(probe)));
        return false;
    }
    if (!database.Open(connection)) {
        Warn(this, u"无法连接数据库服务器：\n%1"_s.arg(database.GetLastErrorDescription()));
        return false;
    }
    QString error;
    switch (PrepareServerDatabase(database, &error)) {
    case ServerDatabase::Ready:
    case ServerDatabase::Old:
        return true;
    case ServerDatabase::Foreign:
        Warn(this, u"所选数据库不是本软件的数据库，请重新选择！"_s);
        break;
    case ServerDatabase::NotSetUp:
        Warn(this, u"无法在这个数据库中建立数据表：\n%1"_s.arg(error));
        break;
    }
    database.Close();
    return false;
}

#include "moc_serverpage.cpp"
