#include "app/workpathdlg.h"

#include "app/serverkeyring.h"
#include "app/serverpage.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/datafilekind.h"
#include "kit/dialogbuttons.h"
#include "kit/filechoice.h"
#include "kit/messages.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CWorkPathDlg::CWorkPathDlg(CVantrelApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_fileButton(new QRadioButton(u"数据文件"_s, this)),
      m_serverButton(new QRadioButton(u"数据库服务器"_s, this)), m_pages(new QStackedWidget(this)),
      m_pathEdit(new QLineEdit(this)),
      m_chooseButton(new QPushButton(u"将本地配置为客户端"_s, this)),
      m_serverPage(new CServerPage(app.Settings().WorkFolder(), this))
{
    setObjectName(u"IDD_WORKPATH"_s);
    setWindowTitle(u"工作路径配置"_s);
    m_pathEdit->setObjectName(u"IDC_DBPATH"_s);
    m_pathEdit->setMinimumWidth(360);
    m_chooseButton->setObjectName(u"IDC_SETCLIENT"_s);
    m_chooseButton->setAutoDefault(false);

    QDialogButtonBox* buttons =
        NewDialogButtonBox(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(m_chooseButton, &QPushButton::clicked, this, &CWorkPathDlg::OnChooseFile);
    m_fileButton->setObjectName(u"IDC_USEFILE"_s);
    m_serverButton->setObjectName(u"IDC_USESERVER"_s);
    m_fileButton->setChecked(true);
    connect(m_serverButton, &QRadioButton::toggled, this, &CWorkPathDlg::OnKindChanged);

    auto* filePage = new QWidget(this);
    filePage->setObjectName(u"filePage"_s);
    auto* label = new QLabel(u"数据库文件："_s, filePage);
    label->setBuddy(m_pathEdit);
    auto* grid = new QGridLayout(filePage);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_pathEdit, 0, 1);
    grid->addWidget(m_chooseButton, 1, 1, Qt::AlignLeft);
    grid->setRowStretch(2, 1);
    m_pages->addWidget(filePage);
    m_pages->addWidget(m_serverPage);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(m_fileButton);
    kinds->addWidget(m_serverButton);
    kinds->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kinds);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    if (CServerSettings::ReadKind(app.Settings()) == DataSourceKind::Server)
        m_serverPage->SetSettings(CServerSettings::Read(app.Settings()));
}

QString CWorkPathDlg::Path() const
{
    return m_pathEdit->text();
}

void CWorkPathDlg::SetPath(const QString& path)
{
    m_pathEdit->setText(path);
}

void CWorkPathDlg::ShowServer(const CServerSettings& server, const QString& password)
{
    m_serverPage->SetSettings(server);
    m_serverPage->SetPassword(password);
    m_serverButton->setChecked(true);
}

bool CWorkPathDlg::ServerChosen() const
{
    return m_serverButton->isChecked();
}

void CWorkPathDlg::OnKindChanged()
{
    m_pages->setCurrentIndex(ServerChosen() ? 1 : 0);
}

void CWorkPathDlg::OnChooseFile()
{
    FileChoice choice;
    choice.objectName = u"chooseDataFile"_s;
    choice.folder = QFileInfo(Path()).absolutePath();
    choice.filters = {u"数据库文件(*.db)"_s};
    choice.fileName = Path().isEmpty() ? u"sale.db"_s : QFileInfo(Path()).fileName();
    choice.defaultSuffix = u"db"_s;
    choice.readOnly = true;
    const QString file = ChooseFile(this, choice);
    if (!file.isEmpty())
        m_pathEdit->setText(QFileInfo(file).absoluteFilePath());
}

void CWorkPathDlg::accept()
{
    if (ServerChosen())
        AcceptServer();
    else
        AcceptFile();
}

void CWorkPathDlg::AcceptFile()
{
    const QString path = Path().trimmed();
    QFile file(m_app.Settings().AbsolutePath(path));
    const bool usable =
        !path.isEmpty() && QFileInfo(file).isFile() &&
        file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
    if (!usable) {
        Warn(this, u"文件配置有误，不存在或不可写！"_s);
        return;
    }
    file.close();
    if (CheckDataFile(file.fileName()) == DataFileKind::Damaged) {
        Warn(this, u"所选数据文件已损坏，不能使用，请选择其他文件！\n%1"_s.arg(
                       QDir::toNativeSeparators(file.fileName())));
        return;
    }
    if (!PrepareDataFile(file.fileName())) {
        Warn(this, u"所选文件不是本软件的数据文件，请重新选择！"_s);
        return;
    }
    // The file is used all the same; the user should know it will be asked for again.
    const CAppSettings& settings = m_app.Settings();
    const bool wasServer = CServerSettings::ReadKind(settings) == DataSourceKind::Server;
    if (!settings.WriteSetting(u"Path"_s, path) ||
        (wasServer && !CServerSettings::WriteKind(settings, DataSourceKind::File)))
        Warn(this, u"配置文件无法写入，下次启动时需要重新选择数据文件！"_s);
    m_app.Connections().SetDataPath(path);
    QDialog::accept();
}

void CWorkPathDlg::AcceptServer()
{
    CADODatabase database;
    if (!m_serverPage->OpenDatabase(database))
        return;
    database.Close();

    const CServerSettings server = m_serverPage->Settings();
    const QString password = m_serverPage->Password();
    KeepServerChoice(m_app, server, password, this);
    m_app.Connections().UseServer(server, password);
    QDialog::accept();
}

void KeepServerChoice(CVantrelApp& app, const CServerSettings& server, const QString& password,
                      QWidget* parent)
{
    const CAppSettings& settings = app.Settings();
    if (!server.Write(settings) || !CServerSettings::WriteKind(settings, DataSourceKind::Server))
        Warn(parent, u"配置文件无法写入，下次启动时需要重新选择数据库服务器！"_s);
    // A server that asks for no password keeps none.
    IServerPasswords& passwords = app.ServerPasswords();
    if (password.isEmpty())
        passwords.Forget(server.Shown());
    else if (!passwords.Store(server.Shown(), password))
        Warn(parent, u"无法把密码保存到系统的密钥环，下次启动时需要重新输入数据库服务器的密码。"_s);
}

#include "moc_workpathdlg.cpp"
