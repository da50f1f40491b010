#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/backup.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "startfolder.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kStart(QDate(2026, 12, 1), QTime(8, 0, 0));

// Start-up copies the data file once a week into the backup folder and keeps the newest ten.
TEST(BackupCommands, StartUpBacksUpWeeklyAndKeepsTen)
{
    StartFolder folder;
    auto app = folder.MakeApp();
    app->m_strDbPath = u"sale.db"_s;
    const QString backups = folder.Dir() + u"/backup"_s;
    EXPECT_EQ(app->BackupFolder(), backups);

    app->AutoBackup(kStart);
    EXPECT_EQ(BackupsIn(backups, folder.DataPath()).size(), 1);
    app->AutoBackup(kStart.addDays(6)); // less than a week: none
    EXPECT_EQ(BackupsIn(backups, folder.DataPath()).size(), 1);
    for (int week = 1; week <= 11; ++week)
        app->AutoBackup(kStart.addDays(7 * week));
    const QStringList kept = BackupsIn(backups, folder.DataPath());
    ASSERT_EQ(kept.size(), 10);
    EXPECT_EQ(LastBackupTime(backups, folder.DataPath()), kStart.addDays(77));
    EXPECT_TRUE(CheckBackup(kept.first()));

    // A folder that cannot be made is reported, and start-up goes on.
    MessageRecorder messages;
    folder.WriteIni("[Settings]\nBackupPath=/proc/no-such-folder\n");
    app->AutoBackup(kStart.addDays(100));
    ASSERT_EQ(messages.Texts().size(), 1);
    EXPECT_TRUE(messages.LastText().startsWith(u"自动备份数据失败："_s));
}

// 文件 > 备份数据… writes a copy to the folder picked, remembered for next time; 恢复数据…
// puts a backup back after asking, keeps the replaced file and ends the program.
TEST(BackupCommands, BackUpAndRestoreThroughTheMenu)
{
    StartFolder folder;
    auto app = folder.MakeApp();
    app->m_strDbPath = u"sale.db"_s;
    app->CompactDataFile();
    app->OpenDatabase();
    app->m_strUser = u"管理员"_s;
    app->SetAllPermissions(1);
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
    EXPECT_EQ(app->ReadSetting(u"BackupPath"_s), chosen.path());
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

    messages.Clear();
    messages.AnswerNext(true);
    {
        ModalDriver<QFileDialog> driver([&](QFileDialog& files) {
            files.selectFile(written.first());
            QMetaObject::invokeMethod(&files, "accept");
        });
        frame.Action(ID_FILE_RESTORE)->trigger();
    }
    const QString kept = BeforeRestorePath(folder.DataPath());
    ASSERT_EQ(messages.Texts().size(), 2);
    EXPECT_EQ(messages.LastText(),
              u"数据已恢复，原数据文件已保存为：\n%1\n请重新启动程序。"_s.arg(kept));
    EXPECT_EQ(folder.Data().QueryValue(u"SELECT name FROM client"_s), u"旧名"_s);
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_FALSE(app->m_pDb->IsOpen());
    EXPECT_FALSE(frame.isVisible());
    app->ExitInstance();
}

} // namespace
