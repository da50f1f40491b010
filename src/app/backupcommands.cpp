#include "app/backupcommands.h"

#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/backup.h"
#include "data/datafileusers.h"
#include "data/filemaintenance.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/messages.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Why a backup or restore cannot be made of data that a server keeps.
const QString kOnServer = u"数据保存在数据库服务器上"_s;

void BackUp(CVantrelApp& app, QWidget* window)
{
    QFileDialog dialog(window, u"选择备份文件夹"_s, app.BackupFolder());
    dialog.setObjectName(u"chooseBackupFolder"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString folder = dialog.selectedFiles().constFirst();
    app.Settings().WriteSetting(u"BackupPath"_s, folder);
    const vantrel::db::FileMaintenance* care = app.Connections().FileCare();
    QString written;
    QString error = kOnServer;
    if (care && care->Backup(app.Connections().DataFilePath(), folder, app.Now(), &written, &error))
        Inform(window, u"数据已备份到：\n%1"_s.arg(QDir::toNativeSeparators(written)));
    else
        Warn(window, u"数据备份失败：%1"_s.arg(error));
}

void Restore(CVantrelApp& app, QWidget* window)
{
    QFileDialog dialog(window, u"选择要恢复的备份"_s, app.BackupFolder(), u"数据库文件(*.db)"_s);
    dialog.setObjectName(u"chooseBackupFile"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString backup = dialog.selectedFiles().constFirst();
    QString error;
    if (!CheckBackup(backup, &error)) {
        Warn(window, u"所选文件不是完好的数据备份，无法恢复！\n%1"_s.arg(error));
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
        Warn(window, u"数据恢复失败："_s + kOnServer);
        return;
    }
    if (!app.Connections().Users()) {
        Warn(window, u"数据恢复失败：数据文件未打开"_s);
        return;
    }
    switch (care->Restore(backup, dataFile, *app.Connections().Users(), keepAs, ReplacedFile::Sound,
                          &error)) {
    case RestoreResult::InUse:
        Warn(window, u"其他用户正在使用数据文件，无法恢复！"_s);
        return;
    case RestoreResult::Failed:
        Warn(window, u"数据恢复失败：%1"_s.arg(error));
        return;
    case RestoreResult::Restored:
        break;
    }
    // The open connection still sees the replaced file: nothing may be written through it.
    if (CADODatabase* database = app.Database())
        database->Close();
    Inform(window, u"数据已恢复，原数据文件已保存为：\n%1\n请重新启动程序。"_s.arg(kept));
    window->close();
}

} // namespace

void RegisterBackupCommands(CVantrelApp& app, ICommandRegistry& commands, QWidget* window)
{
    commands.SetHandler(ID_FILE_BACKUP, [&app, window] { BackUp(app, window); });
    commands.SetHandler(ID_FILE_RESTORE, [&app, window] { Restore(app, window); });
}
