#include "app/mainframe.h"
#include "app/serversettings.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/backup.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "startfolder.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kStart(QDate(2026, 12, 1), QTime(8, 0, 0));

QString ClientName(const QString& dataFile)
{
    CADODatabase database;
    if (!database.Open(CADODatabase::ConnectionStringFor(dataFile)))
        return {};
    CADORecordset client(&database);
    QString name;
    if (client.Open(u"SELECT * FROM client"_s) && client.GetRecordCount() > 0) {
        client.MoveFirst();
        client.GetFieldText(u"name"_s, name);
    }
    return name;
}

// Start-up copies the data file once a week into the backup folder and keeps the newest ten.
TEST(BackupCommands, StartUpBacksUpWeeklyAndKeepsTen)
{
    StartFolder folder;
    auto app = folder.MakeApp();
    app->Connections().SetDataPath(u"sale.db"_s);
    const QString backups = folder.Dir() + u"/backup"_s;
    EXPECT_EQ(app->BackupFolder(), backups);
    // Data on a server has no file to keep its backups beside: the working folder keeps them.
    CServerSettings server;
    server.host = u"server"_s;
    server.database = u"sales"_s;
    app->Connections().UseServer(server, {});
    EXPECT_EQ(app->BackupFolder(), backups);
    app->Connections().SetDataPath(u"sale.db"_s);

    CStartUp(*app).AutoBackup(kStart);
    EXPECT_EQ(BackupsIn(backups, folder.DataPath()).size(), 1);
    CStartUp(*app).AutoBackup(kStart.addDays(6)); // less than a week: none
    EXPECT_EQ(BackupsIn(backups, folder.DataPath()).size(), 1);
    for (int week = 1; week <= 11; ++week)
        CStartUp(*app).AutoBackup(kStart.addDays(7 * week));
    const QStringList kept = BackupsIn(backups, folder.DataPath());
    ASSERT_EQ(kept.size(), 10);
    EXPECT_EQ(LastBackupTime(backups, folder.DataPath()), kStart.addDays(77));
    EXPECT_TRUE(CheckBackup(kept.first()));

    // A folder that cannot be made is reported, and start-up goes on.
    MessageRecorder messages;
    folder.WriteIni("[Settings]\nBackupPath=/proc/no-such-folder\n");
    CStartUp(*app).AutoBackup(kStart.addDays(100));
    ASSERT_EQ(messages.Texts().size(), 1);
    EXPECT_TRUE(messages.LastText().startsWith(u"自动备份数据失败："_s));
}

// 文件 > 备份数据… writes a copy to the folder picked, remembered for next time; 恢复数据…
// puts a backup back after asking, keeps the replaced file and ends the program.
TEST(BackupCommands, BackUpAndRestoreThroughTheMenu)
{
    StartFolder folder;
    auto app = folder.MakeApp();
    app->Connections().SetDataPath(u"sale.db"_s);
    app->Connections().CompactDataFile();
    app->Connections().OpenDatabase();
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    folder.Data().Exec(u"INSERT INTO client (no, name) VALUES (1, '旧名')"_s);
    CMainFrame frame(*app);
    frame.show();
    QTemporaryDir chosen;
    MessageRecorder messages;
    {
        ModalDriver<QFileDialog> driver([&](QFileDialog& files) {
            files.selectFile(chosen.path());
            QMetaObject::invokeMethod(&files, "accept");
        });
        frame.Action(ID_FILE_BACKUP)->trigger();
    }
    const QStringList written = BackupsIn(chosen.path(), folder.DataPath());
    ASSERT_EQ(written.size(), 1);
    EXPECT_EQ(messages.Texts(), QStringList{u"数据已备份到：\n"_s + written.first()});
    EXPECT_EQ(app->Settings().ReadSetting(u"BackupPath"_s), chosen.path());
    EXPECT_EQ(app->BackupFolder(), chosen.path());

    folder.Data().Exec(u"UPDATE client SET name = '新名' WHERE no = 1"_s);
    // Answered "no", nothing changes.
    messages.Clear();
    messages.AnswerNext(false);
    {
        ModalDriver<QFileDialog> driver([&](QFileDialog& files) {
            files.selectFile(written.first());
            QMetaObject::invokeMethod(&files, "accept");
        });
        frame.Action(ID_FILE_RESTORE)->trigger();
    }
    EXPECT_EQ(messages.Texts().size(), 1);
    EXPECT_EQ(folder.Data().QueryValue(u"SELECT name FROM client"_s), u"新名"_s);
    EXPECT_TRUE(frame.isVisible());

    // The question names the file the current one will be kept as: its own name, with date
    // and time, so no earlier kept file is ever replaced.
    static const QRegularExpression keptName(
        u"恢复数据将用所选备份替换当前的数据文件，当前文件将保存为：\n(.*/sale-before-restore-"
        "\\d{8}-\\d{6}(-\\d+)?\\.db)\n是否继续？"_s);
    QStringList kept;
    for (const QString& current : {u"新名"_s, u"更新的名"_s}) {
        folder.Data().Exec(u"UPDATE client SET name = '%1' WHERE no = 1"_s.arg(current));
        messages.Clear();
        messages.AnswerNext(true);
        {
            ModalDriver<QFileDialog> driver([&](QFileDialog& files) {
                files.selectFile(written.first());
                QMetaObject::invokeMethod(&files, "accept");
            });
            frame.Action(ID_FILE_RESTORE)->trigger();
        }
        ASSERT_EQ(messages.Texts().size(), 2);
        const QRegularExpressionMatch match = keptName.match(messages.Texts().first());
        ASSERT_TRUE(match.hasMatch()) << messages.Texts().first().toStdString();
        kept << match.captured(1);
        EXPECT_EQ(messages.LastText(),
                  u"数据已恢复，原数据文件已保存为：\n%1\n请重新启动程序。"_s.arg(kept.last()));
        EXPECT_EQ(folder.Data().QueryValue(u"SELECT name FROM client"_s), u"旧名"_s);
        EXPECT_FALSE(app->Database()->IsOpen());
        EXPECT_FALSE(frame.isVisible());
        // The program as the user starts it again.
        app->Connections().OpenDatabase();
        frame.show();
    }
    ASSERT_EQ(kept.size(), 2);
    EXPECT_NE(kept[0], kept[1]);
    EXPECT_EQ(ClientName(kept[0]), u"新名"_s);
    EXPECT_EQ(ClientName(kept[1]), u"更新的名"_s);
    app->ExitInstance();
}

} // namespace
