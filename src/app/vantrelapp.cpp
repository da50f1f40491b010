#include "app/vantrelapp.h"

#include "app/inifile.h"
#include "app/logindlg.h"
#include "app/mainwindowfactory.h"
#include "app/powertable.h"
#include "app/workpathdlg.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/adox.h"
#include "data/backup.h"
#include "data/compaction.h"
#include "data/datafilekind.h"
#include "data/datafileusers.h"
#include "data/gbktext.h"
#include "kit/messages.h"
#include "kit/skinengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {
CVantrelApp* g_instance = nullptr;

const QString kSettings = u"Settings"_s;
const QString kDefaultSkin = u"xpsteel.smf"_s;
const QString kLocalDataFile = u"sale.db"_s;
const QString kAreaDataFile = u"data.db"_s;
// Start-up copies the data file when its newest backup is this old, and keeps this many.
constexpr int kAutoBackupDays = 7;
constexpr int kAutoBackupsKept = 10;
const QString kAdministrator = u"管理员"_s;

// Whether this user may create files in the folder: tried, not guessed from permission bits.
bool FolderWritable(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(u"setup-XXXXXX.tmp"_s));
    return probe.open();
}

bool FileWritable(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
}
} // namespace

CVantrelApp::CVantrelApp(const QString& workFolder, const QString& iniPath, QObject* parent)
    : CAppContext(parent), m_strIniPath(iniPath), m_pCatalog(std::make_unique<CADOXCatalog>()),
      m_strWorkFolder(QDir(workFolder).absolutePath())
{
    g_instance = this;
}

CVantrelApp::~CVantrelApp()
{
    m_pMainWnd.reset();
    if (g_instance == this)
        g_instance = nullptr;
}

CVantrelApp* CVantrelApp::Instance()
{
    return g_instance;
}

QString CVantrelApp::DefaultIniPath()
{
    return IniPathFor(QCoreApplication::applicationDirPath(),
                      QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                          .filePath(u"Vantrel"_s));
}

QString CVantrelApp::IniPathFor(const QString& programFolder, const QString& userConfigFolder)
{
    const QString beside = QDir(programFolder).filePath(u"setup.ini"_s);
    if (QFileInfo::exists(beside) ? FileWritable(beside) : FolderWritable(programFolder))
        return beside;
    const QString own = QDir(userConfigFolder).filePath(u"setup.ini"_s);
    if (!QFileInfo::exists(own)) {
        QDir().mkpath(userConfigFolder);
        // The installed file carries the installation's defaults.
        if (QFileInfo::exists(beside) && QFile::copy(beside, own))
            QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
    }
    return own;
}

QString CVantrelApp::ReadSetting(const QString& key, const QString& defaultValue) const
{
    return inifile::ReadString(m_strIniPath, kSettings, key, defaultValue);
}

bool CVantrelApp::WriteSetting(const QString& key, const QString& value) const
{
    return inifile::WriteString(m_strIniPath, kSettings, key, value);
}

QString CVantrelApp::AbsolutePath(const QString& path) const
{
    return path.isEmpty() ? QString() : QDir(m_strWorkFolder).absoluteFilePath(path);
}

QString CVantrelApp::SkinFolder() const
{
    return AbsolutePath(u"skin"_s);
}

QString CVantrelApp::DataConnectionString() const
{
    return CADODatabase::ConnectionStringFor(AbsolutePath(m_strDbPath));
}

QWidget* CVantrelApp::MainWindow() const
{
    return m_pMainWnd.get();
}

bool CVantrelApp::InitInstance()
{
    if (!CheckCodePage(GbkAvailable()))
        return false;
    CSkinEngine::Instance().Initialise();
    if (!ChooseSkin())
        return false;
    CSkinEngine::Instance().SetDialogSkin(u"Dialog"_s);
    OpenAreaDatabase();
    if (!SettleDatabasePath())
        return false;
    m_bDbReady = true;
    CompactDataFile();
    OpenDatabase();
    ReportWriteAccess();
    AutoBackup(Now());
    if (!SignIn())
        return false;
    if (!LoadPermissions())
        return false;
    return CreateMainWindow();
}

int CVantrelApp::ExitInstance()
{
    m_pMainWnd.reset();
    if (m_bDbReady) {
        if (m_pDb && m_pDb->IsOpen())
            m_pDb->Close();
        if (m_pAreaDb && m_pAreaDb->IsOpen())
            m_pAreaDb->Close();
    }
    CSkinEngine::Instance().Shutdown();
    m_users.reset();
    return 0;
}

bool CVantrelApp::CheckCodePage(bool converterAvailable)
{
    // Passwords are compared as code-page bytes and limits count them. Without the converter
    // every text reads as no bytes: a user without a password would accept any, everybody
    // else none, and every text would pass every length limit.
    if (converterAvailable)
        return true;
    Warn(nullptr, u"无法创建GBK编码转换，程序无法运行！"_s);
    return false;
}

bool CVantrelApp::ChooseSkin()
{
    const QString wanted = ReadSetting(u"Skin"_s, kDefaultSkin);
    const QString name = wanted.isEmpty() ? kDefaultSkin : wanted;
    const QDir skins(SkinFolder());
    if (QFileInfo(skins.filePath(name)).isFile()) {
        CSkinEngine::Instance().LoadSkinFile(skins.filePath(name));
        m_strSkin = name;
        return true;
    }
    // The wanted skin is gone: take the first one there is. The configuration keeps naming the
    // missing one until the user picks a skin.
    const QStringList found =
        skins.entryList({u"*.smf"_s}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    if (found.isEmpty()) {
        Warn(nullptr, u"Can not find any skin"_s);
        return false;
    }
    CSkinEngine::Instance().LoadSkinFile(skins.filePath(found.first()));
    m_strSkin = found.first();
    return true;
}

void CVantrelApp::OpenAreaDatabase()
{
    // A failure leaves the connection closed; the postcode lookup then finds nothing.
    m_pAreaDb = std::make_unique<CADODatabase>();
    m_pAreaDb->Open(CADODatabase::ConnectionStringFor(AbsolutePath(kAreaDataFile)));
}

bool CVantrelApp::SettleDatabasePath()
{
    // The local file first, then the configured one. A file that is there but no data file of
    // ours counts as missing; a damaged one is never used.
    const QString configured = ReadSetting(u"Path"_s);
    for (const QString& candidate : {kLocalDataFile, configured}) {
        if (candidate.isEmpty() || !QFileInfo(AbsolutePath(candidate)).isFile())
            continue;
        const QString path = AbsolutePath(candidate);
        DataFileKind kind = CheckDataFile(path);
        // In the data file's place, a file that is no database at all is the data file
        // destroyed (another program's database there is simply not ours).
        const QFileInfo info(path);
        if (kind == DataFileKind::Foreign && info.isReadable() && info.size() > 0 &&
            !HasDatabaseHeader(path))
            kind = DataFileKind::Damaged;
        if (kind == DataFileKind::Damaged) {
            if (!OfferBackupFor(path))
                break; // the user picks another file
        } else if (!HoldsDataTables(kind) &&
                   !(kind == DataFileKind::Empty && PrepareDataFile(path)))
            continue;
        m_strDbPath = candidate;
        return AcceptDataFile();
    }
    // No data file here and none configured, or the configured one is gone or unusable: ask.
    CWorkPathDlg dialog(*this);
    dialog.SetPath(configured);
    return dialog.exec() == QDialog::Accepted && AcceptDataFile();
}

bool CVantrelApp::AcceptDataFile()
{
    if (InspectDataFile(DataFilePath()) == DataFileKind::Old)
        Warn(nullptr, u"数据文件缺少部分数据表，请用管理员身份登录后执行“升级数据库”。"_s);
    return true;
}

QStringList CVantrelApp::BackupFoldersFor(const QString& dataFile) const
{
    const QString chosen = ReadSetting(u"BackupPath"_s);
    const QString dataFolder = QFileInfo(dataFile).absolutePath();
    // The upgrade leaves its copies beside the file.
    return {chosen.isEmpty() ? QDir(dataFolder).filePath(u"backup"_s) : AbsolutePath(chosen),
            dataFolder};
}

bool CVantrelApp::OfferBackupFor(const QString& dataFile)
{
    const QString shown = QDir::toNativeSeparators(dataFile);
    const QString backup = NewestSoundBackup(BackupFoldersFor(dataFile), dataFile);
    if (backup.isEmpty()) {
        Warn(nullptr,
             u"数据文件已损坏，不能使用：\n%1\n没有找到完好的备份，请选择其他数据文件。"_s.arg(
                 shown));
        return false;
    }
    const QString keepAs = DamagedFilePath(dataFile, Now());
    const QString question =
        u"数据文件已损坏，不能使用：\n%1\n\n最新的完好备份是：\n%2\n\n是否用这份备份恢复数据文件？"
        "损坏的文件将保存为：\n%3\n\n选择“否”可以另选数据文件。"_s.arg(
            shown, QDir::toNativeSeparators(backup), QDir::toNativeSeparators(keepAs));
    if (!Ask(nullptr, question, u"数据文件已损坏"_s))
        return false;
    DataFileUsers users(dataFile);
    QString error;
    switch (RestoreDataFile(backup, dataFile, users, keepAs, &error, {}, ReplacedFile::Damaged)) {
    case RestoreResult::Restored:
        Inform(nullptr, u"数据文件已从备份恢复，损坏的文件已保存为：\n%1"_s.arg(
                            QDir::toNativeSeparators(keepAs)));
        return true;
    case RestoreResult::InUse:
        Warn(nullptr, u"其他用户正在使用数据文件，无法恢复！"_s);
        return false;
    case RestoreResult::Failed:
        break;
    }
    Warn(nullptr, u"数据恢复失败：%1"_s.arg(error));
    return false;
}

void CVantrelApp::CompactDataFile()
{
    // Whatever the outcome, start-up goes on with the file as it now is.
    const QString path = AbsolutePath(m_strDbPath);
    m_users = std::make_unique<DataFileUsers>(path);
    if (HoldsDataTables(InspectDataFile(path)))
        ::CompactDataFile(path, *m_users);
    m_users->LockShared();
}

void CVantrelApp::OpenDatabase()
{
    m_pCatalog->Open(DataConnectionString());
    m_pDb = std::make_unique<CADODatabase>();
    m_pDb->Open(DataConnectionString());
}

void CVantrelApp::ReportWriteAccess()
{
    // Said now rather than by the first save, which would fail only after waiting.
    const QString shown = QDir::toNativeSeparators(DataFilePath());
    switch (m_pDb ? ProbeWriteAccess(*m_pDb) : WriteAccess::Writable) {
    case WriteAccess::Writable:
        return;
    case WriteAccess::ReadOnly:
        Warn(nullptr, u"数据文件是只读的，程序只能查看资料，任何修改都无法保存：\n%1\n"
                      "请检查这个文件和它所在文件夹的写入权限。"_s.arg(shown));
        return;
    case WriteAccess::Locked:
        Warn(nullptr, u"数据文件正被其他程序锁定，现在无法保存任何修改：\n%1\n"
                      "请关闭占用它的程序。"_s.arg(shown));
        return;
    }
}

QString CVantrelApp::BackupFolder() const
{
    return BackupFoldersFor(DataFilePath()).constFirst();
}

void CVantrelApp::AutoBackup(const QDateTime& now)
{
    const QString folder = BackupFolder();
    const QString dataFile = DataFilePath();
    const QDateTime last = LastBackupTime(folder, dataFile);
    if (last.isValid() && last.addDays(kAutoBackupDays) > now)
        return;
    QString error;
    if (!BackupDataFile(dataFile, folder, now, nullptr, &error)) {
        Warn(nullptr, u"自动备份数据失败：%1"_s.arg(error));
        return;
    }
    PruneBackups(folder, dataFile, kAutoBackupsKept);
}

bool CVantrelApp::SignIn()
{
    CLoginDlg dialog(*this);
    return dialog.exec() == QDialog::Accepted;
}

bool CVantrelApp::LoadPermissions()
{
    if (m_strUser == kAdministrator) {
        m_rights.SetAll(true);
        return true;
    }
    CADORecordset power(m_pDb.get());
    if (!power.Open(PowerQueryFor(m_strUser)))
        return true; // no rights are granted
    // The signed-in name is a row's own spelling: the flags are that row's, never those of a
    // name that differs only in letter case.
    if (!MoveToUser(power, m_strUser, true)) {
        Warn(nullptr, u"未找到指定的用户名！"_s);
        return false;
    }
    for (const RightInfo& info : kRights) {
        int value = 0;
        power.GetFieldInt(QLatin1StringView(info.column), value);
        m_rights.Set(info.right, value != 0);
    }
    return true;
}

bool CVantrelApp::CreateMainWindow()
{
    m_pMainWnd = ::CreateMainWindow(*this);
    if (!m_pMainWnd)
        return false;
    CSkinEngine::Instance().SkinWindow(m_pMainWnd.get(), u"MainFrame"_s);
    ShowMainWindow(*m_pMainWnd);
    return true;
}

#include "moc_vantrelapp.cpp"
