#include "app/startup.h"

#include "app/logindlg.h"
#include "app/mainwindowfactory.h"
#include "app/serverdatabase.h"
#include "app/serverfailures.h"
#include "app/serverkeyring.h"
#include "app/serverpassworddlg.h"
#include "app/serversettings.h"
#include "app/vantrelapp.h"
#include "app/workpathdlg.h"
#include "data/adodatabase.h"
#include "data/backup.h"
#include "data/datafilekind.h"
#include "data/datafileusers.h"
#include "data/filemaintenance.h"
#include "data/gbktext.h"
#include "data/serverprobe.h"
#include "kit/messages.h"
#include "kit/skinengine.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {
const QString kDefaultSkin = u"xpsteel.smf"_s;
const QString kLocalDataFile = u"sale.db"_s;
// Start-up copies the data file when its newest backup is this old, and keeps this many.
constexpr int kAutoBackupDays = 7;
constexpr int kAutoBackupsKept = 10;
} // namespace

bool CStartUp::Run()
{
    if (!CheckCodePage(GbkAvailable()))
        return false;
    CSkinEngine& skin = m_app.SkinEngine();
    skin.Initialise();
    if (!ChooseSkin())
        return false;
    skin.SetDialogSkin(u"Dialog"_s);
    CDataConnections& connections = m_app.Connections();
    connections.OpenAreaDatabase();
    if (!SettleDatabasePath())
        return false;
    connections.SetReady(true);
    if (!OpenData())
        return false;
    ReportWriteAccess();
    AutoBackup(m_app.Now());
    if (!SignIn())
        return false;
    if (!LoadPermissions())
        return false;
    return CreateMainWindow();
}

bool CStartUp::CheckCodePage(bool converterAvailable)
{
    // Passwords are compared as code-page bytes and limits count them. Without the converter
    // every text reads as no bytes: a user without a password would accept any, everybody
    // else none, and every text would pass every length limit.
    if (converterAvailable)
        return true;
    Warn(nullptr, u"无法创建GBK编码转换，程序无法运行！"_s);
    return false;
}

bool CStartUp::ChooseSkin()
{
    const QString wanted = m_app.Settings().ReadSetting(u"Skin"_s, kDefaultSkin);
    const QString name = wanted.isEmpty() ? kDefaultSkin : wanted;
    const QDir skins(m_app.Settings().SkinFolder());
    if (QFileInfo(skins.filePath(name)).isFile()) {
        m_app.SkinEngine().LoadSkinFile(skins.filePath(name));
        m_app.SetSkinName(name);
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
    m_app.SkinEngine().LoadSkinFile(skins.filePath(found.first()));
    m_app.SetSkinName(found.first());
    return true;
}

bool CStartUp::SettleDatabasePath()
{
    if (CServerSettings::ReadKind(m_app.Settings()) == DataSourceKind::Server)
        return SettleServer();
    // The local file first, then the configured one. A file that is there but no data file of
    // ours counts as missing; a damaged one is never used.
    const CAppSettings& settings = m_app.Settings();
    const QString configured = settings.ReadSetting(u"Path"_s);
    for (const QString& candidate : {kLocalDataFile, configured}) {
        if (candidate.isEmpty() || !QFileInfo(settings.AbsolutePath(candidate)).isFile())
            continue;
        const QString path = settings.AbsolutePath(candidate);
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
        m_app.Connections().SetDataPath(candidate);
        return AcceptDataFile();
    }
    // No data file here and none configured, or the configured one is gone or unusable: ask.
    CWorkPathDlg dialog(m_app);
    dialog.SetPath(configured);
    return dialog.exec() == QDialog::Accepted && AcceptDataFile();
}

bool CStartUp::SettleServer()
{
    const CServerSettings server = CServerSettings::Read(m_app.Settings());
    if (!server.IsComplete()) {
        CWorkPathDlg dialog(m_app);
        dialog.ShowServer(server, {});
        return dialog.exec() == QDialog::Accepted && (dialog.ServerChosen() || AcceptDataFile());
    }
    std::optional<QString> password = m_app.ServerPasswords().Read(server.Shown());
    if (!password) {
        CServerPasswordDlg dialog(server.Shown());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        password = dialog.Password();
    }
    m_app.Connections().UseServer(server, *password);
    return true;
}

bool CStartUp::OpenData()
{
    CDataConnections& connections = m_app.Connections();
    for (;;) {
        if (!connections.UsesServer()) {
            connections.CompactDataFile();
            connections.OpenDatabase();
            return true;
        }
        // No compaction, no lock and no copies of a file: the server keeps its data itself.
        connections.OpenDatabase();
        QString refusal;
        if (connections.Database()->IsOpen()) {
            if (AcceptServerDatabase(refusal))
                return true;
        } else {
            // The probe names the reason; one it finds none for is the connection's own.
            const vantrel::db::ServerProbeResult probe =
                vantrel::db::ProbeServer(connections.DataConnectionString());
            refusal = u"无法连接数据库服务器 %1：\n%2"_s.arg(
                connections.DataSourceName(),
                probe.outcome == vantrel::db::ServerProbe::Works
                    ? connections.Database()->GetLastErrorDescription()
                    : ServerProbeText(probe));
        }
        Warn(nullptr, refusal);
        // The user corrects the server, or goes back to a file.
        CWorkPathDlg dialog(m_app);
        dialog.ShowServer(*connections.Server(), connections.ServerPassword());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        if (!dialog.ServerChosen())
            AcceptDataFile();
    }
}

bool CStartUp::AcceptServerDatabase(QString& refusal)
{
    const QString server = m_app.Connections().DataSourceName();
    QString error;
    switch (PrepareServerDatabase(*m_app.Database(), &error)) {
    case ServerDatabase::Ready:
        return true;
    case ServerDatabase::Old:
        Warn(nullptr, u"数据库缺少部分数据表，请用管理员身份登录后执行“升级数据库”。"_s);
        return true;
    case ServerDatabase::NotSetUp:
        refusal = u"无法在数据库服务器 %1 上建立数据表：\n%2"_s.arg(server, error);
        return false;
    case ServerDatabase::Foreign:
        break;
    }
    refusal = u"数据库服务器 %1 上的数据库不是本软件的数据库。"_s.arg(server);
    return false;
}

bool CStartUp::AcceptDataFile()
{
    if (InspectDataFile(m_app.Connections().DataFilePath()) == DataFileKind::Old)
        Warn(nullptr, u"数据文件缺少部分数据表，请用管理员身份登录后执行“升级数据库”。"_s);
    return true;
}

bool CStartUp::OfferBackupFor(const QString& dataFile)
{
    const QString shown = QDir::toNativeSeparators(dataFile);
    const QString backup = NewestSoundBackup(m_app.Settings().BackupFoldersFor(dataFile), dataFile);
    if (backup.isEmpty()) {
        Warn(nullptr,
             u"数据文件已损坏，不能使用：\n%1\n没有找到完好的备份，请选择其他数据文件。"_s.arg(
                 shown));
        return false;
    }
    const QString keepAs = DamagedFilePath(dataFile, m_app.Now());
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

void CStartUp::ReportWriteAccess()
{
    // Said now rather than by the first save, which would fail only after waiting.
    const QString shown = m_app.Connections().DataSourceName();
    CADODatabase* database = m_app.Database();
    switch (database ? ProbeWriteAccess(*database) : WriteAccess::Writable) {
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

void CStartUp::AutoBackup(const QDateTime& now)
{
    const vantrel::db::FileMaintenance* care = m_app.Connections().FileCare();
    if (!care)
        return;
    const QString folder = m_app.BackupFolder();
    const QString dataFile = m_app.Connections().DataFilePath();
    const QDateTime last = LastBackupTime(folder, dataFile);
    if (last.isValid() && last.addDays(kAutoBackupDays) > now)
        return;
    QString error;
    if (!care->Backup(dataFile, folder, now, nullptr, &error)) {
        Warn(nullptr, u"自动备份数据失败：%1"_s.arg(error));
        return;
    }
    PruneBackups(folder, dataFile, kAutoBackupsKept);
}

bool CStartUp::SignIn()
{
    CLoginDlg dialog(m_app);
    return dialog.exec() == QDialog::Accepted;
}

bool CStartUp::LoadPermissions()
{
    return m_app.Session().LoadPermissions(m_app.Database());
}

bool CStartUp::CreateMainWindow()
{
    QWidget* window = m_app.SetMainWindow(::CreateMainWindow(m_app));
    if (!window)
        return false;
    m_app.SkinEngine().SkinWindow(window, u"MainFrame"_s);
    ShowMainWindow(*window);
    return true;
}
