#include "app/backupcommands.h"

#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/backup.h"
#include "data/datafileusers.h"
#include "data/datasource.h"
#include "data/filemaintenance.h"
#include "data/serverbackup.h"
#include "data/workstations.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/filechoice.h"
#include "kit/messages.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Why a backup or restore cannot be made of a data file that is not open.
const QString kNotOpen = u"数据文件未打开"_s;

// Says how a restore went. After one that was made the program ends: its connection and its
// windows still hold the data as they were, and nothing may be written through them.
void FinishRestore(CVantrelApp& app, QWidget* window, RestoreResult result, const QString& inUse,
                   const QString& error, const QString& done)
{
    switch (result) {
    case RestoreResult::InUse:
        Warn(window, inUse);
        return;
    case RestoreResult::Failed:
        Warn(window, u"数据恢复失败：%1"_s.arg(error));
        return;
    case RestoreResult::Restored:
        break;
    }
    if (CADODatabase* database = app.Database())
        database->Close();
    Inform(window, done);
    window->close();
}

// The server's connection when the data are kept on a server, else null.
std::shared_ptr<vantrel::db::Connection> ServerConnection(CVantrelApp& app)
{
    CADODatabase* database = app.Database();
    if (!database || !database->IsOpen() ||
        !vantrel::db::NamesServer(database->GetConnectionString()))
        return nullptr;
    return database->GetActiveConnection();
}

void BackUp(CVantrelApp& app, QWidget* window)
{
    FileChoice choice;
    choice.kind = FileChoice::Kind::Folder;
    choice.objectName = u"chooseBackupFolder"_s;
    choice.caption = u"选择备份文件夹"_s;
    choice.folder = app.BackupFolder();
    const QString folder = ChooseFile(window, choice);
    if (folder.isEmpty())
        return;
    app.Settings().WriteSetting(u"BackupPath"_s, folder);
    QString written;
    QString error = kNotOpen;
    bool backedUp = false;
    if (const auto server = ServerConnection(app)) {
        backedUp = vantrel::db::BackupServer(*server, folder, app.Now(), &written, &error);
    } else if (const vantrel::db::FileMaintenance* care = app.Connections().FileCare()) {
        backedUp =
            care->Backup(app.Connections().DataFilePath(), folder, app.Now(), &written, &error);
    }
    if (backedUp)
        Inform(window, u"数据已备份到：\n%1"_s.arg(QDir::toNativeSeparators(written)));
    else
        Warn(window, u"数据备份失败：%1"_s.arg(error));
}

// The data on the server are replaced by a backup's in one transaction, while no other
// workstation is connected; what the server held is kept first as a file in the backup folder.
void RestoreOnServer(CVantrelApp& app, QWidget* window, const QString& backup,
                     vantrel::db::Connection& server)
{
    const QString keepAs = BeforeRestorePath(
        QDir(app.BackupFolder()).filePath(vantrel::db::ServerBackupBase(server)), app.Now());
    const QString kept = QDir::toNativeSeparators(keepAs);
    const QString question = u"恢复数据将用所选备份替换数据库服务器上的全部数据，服务器上现有的数据"
                             "将保存为：\n%1\n是否继续？"_s.arg(kept);
    if (!Ask(window, question, u"恢复数据"_s))
        return;
    vantrel::db::Workstations* workstations = app.Connections().Workstations();
    if (!workstations) {
        Warn(window, u"数据恢复失败：本程序未登记为数据库的工作站"_s);
        return;
    }
    QString error;
    const RestoreResult result =
        vantrel::db::RestoreServer(backup, server, *workstations, keepAs, &error);
    FinishRestore(app, window, result, error, error,
                  u"数据已恢复，服务器上原有的数据已保存为：\n%1\n请重新启动程序。"_s.arg(kept));
}

void Restore(CVantrelApp& app, QWidget* window)
{
    FileChoice choice;
    choice.objectName = u"chooseBackupFile"_s;
    choice.caption = u"选择要恢复的备份"_s;
    choice.folder = app.BackupFolder();
    choice.filters = {u"数据库文件(*.db)"_s};
    const QString backup = ChooseFile(window, choice);
    if (backup.isEmpty())
        return;
    QString error;
    if (!CheckBackup(backup, &error)) {
        Warn(window, u"所选文件不是完好的数据备份，无法恢复！\n%1"_s.arg(error));
        return;
    }
    if (const auto server = ServerConnection(app)) {
        RestoreOnServer(app, window, backup, *server);
        return;
    }
    const QString dataFile = app.Connections().DataFilePath();
    // Every restore keeps the file it replaces under a name of its own.
    const QString keepAs = BeforeRestorePath(dataFile, app.Now());
    const QString kept = QDir::toNativeSeparators(keepAs);
    const QString question =
        u"恢复数据将用所选备份替换当前的数据文件，当前文件将保存为：\n%1\n是否继续？"_s.arg(kept);
    if (!Ask(window, question, u"恢复数据"_s))
        return;
    const vantrel::db::FileMaintenance* care = app.Connections().FileCare();
    if (!care) {
        Warn(window, u"数据恢复失败："_s + kNotOpen);
        return;
    }
    if (!app.Connections().Users()) {
        Warn(window, u"数据恢复失败：数据文件未打开"_s);
        return;
    }
    const RestoreResult result = care->Restore(backup, dataFile, *app.Connections().Users(), keepAs,
                                               ReplacedFile::Sound, &error);
    FinishRestore(app, window, result, u"其他用户正在使用数据文件，无法恢复！"_s, error,
                  u"数据已恢复，原数据文件已保存为：\n%1\n请重新启动程序。"_s.arg(kept));
}

} // namespace

void RegisterBackupCommands(CVantrelApp& app, ICommandRegistry& commands, QWidget* window)
{
    commands.SetHandler(ID_FILE_BACKUP, [&app, window] { BackUp(app, window); });
    commands.SetHandler(ID_FILE_RESTORE, [&app, window] { Restore(app, window); });
}
