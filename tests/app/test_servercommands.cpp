#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/backup.h"
#include "data/datasource.h"
#include "data/workstations.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "startfolder.h"
#include "support/pgtestdatabase.h"

#include <QAction>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Picks `path` in the next file dialog while `command` runs.
void RunWithFile(CMainFrame& frame, int command, const QString& path)
{
    ModalDriver<QFileDialog> driver([&](QFileDialog& files) {
        files.selectFile(path);
        QMetaObject::invokeMethod(&files, "accept");
    });
    frame.Action(command)->trigger();
}

// In server mode 备份数据… writes a snapshot of the server; 升级数据库 and 恢复数据… need the
// server to themselves and name the workstations in the way, and the restore replaces the
// server's data once this program is alone.
TEST(ServerCommands, BackUpUpgradeAndRestoreOnTheServer)
{
    StartFolder folder;
    PgTestDatabase server;
    server.Exec(u"INSERT INTO client (no, name) VALUES (1, '服务器上的')"_s);
    auto app = folder.MakeApp();
    auto database = std::make_unique<CADODatabase>();
    ASSERT_TRUE(database->Open(server.ConnectionString()));
    app->Connections().UseDatabase(std::move(database));
    ASSERT_TRUE(app->Connections().Workstations());
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    CMainFrame frame(*app);
    frame.show();
    MessageRecorder messages;

    QTemporaryDir chosen;
    RunWithFile(frame, ID_FILE_BACKUP, chosen.path());
    ASSERT_EQ(messages.Texts().size(), 1);
    const QString written = messages.LastText().section(u'\n', 1);
    EXPECT_EQ(messages.LastText(), u"数据已备份到：\n"_s + written);
    EXPECT_TRUE(CheckBackup(written));
    server.Exec(u"UPDATE client SET name = '改过的'"_s);

    {
        vantrel::db::Error error;
        const auto other = vantrel::db::OpenDataSource(server.ConnectionString(), 0, error);
        const auto otherWorkstation = vantrel::db::JoinWorkstations(other);
        ASSERT_TRUE(otherWorkstation);
        messages.Clear();
        frame.Action(ID_TOOLS_UPGRADE)->trigger();
        EXPECT_EQ(messages.Texts(), QStringList{u"另有 1 个工作站正在使用数据库，无法升级！"_s});
        messages.Clear();
        messages.AnswerNext(true);
        RunWithFile(frame, ID_FILE_RESTORE, written);
        ASSERT_EQ(messages.Texts().size(), 2);
        EXPECT_EQ(messages.LastText(), u"另有 1 个工作站正在使用数据库，无法恢复！"_s);
        EXPECT_EQ(server.QueryValue(u"SELECT name FROM client"_s), u"改过的"_s);
    }
    // The server lets go of the other's lock as its session ends, a moment after it closes.
    for (int tries = 0; tries < 100 && app->Connections().Workstations()->OtherWorkstations() > 0;
         ++tries)
        QThread::msleep(50);
    messages.Clear();
    frame.Action(ID_TOOLS_UPGRADE)->trigger();
    EXPECT_EQ(messages.Texts(), QStringList{u"数据库已是最新版本。"_s});

    messages.Clear();
    messages.AnswerNext(true);
    RunWithFile(frame, ID_FILE_RESTORE, written);
    ASSERT_EQ(messages.Texts().size(), 2);
    static const QRegularExpression keptName(
        u"恢复数据将用所选备份替换数据库服务器上的全部数据，服务器上现有的数据将保存为：\n(.*/"
        "vantrel_test_\\w+-before-restore-\\d{8}-\\d{6}\\.db)\n是否继续？"_s);
    const QRegularExpressionMatch match = keptName.match(messages.Texts().first());
    ASSERT_TRUE(match.hasMatch()) << messages.Texts().first().toStdString();
    EXPECT_EQ(
        messages.LastText(),
        u"数据已恢复，服务器上原有的数据已保存为：\n%1\n请重新启动程序。"_s.arg(match.captured(1)));
    EXPECT_EQ(server.QueryValue(u"SELECT string_agg(name, ',') FROM client"_s), u"服务器上的"_s);
    // What the server held is in the kept file.
    CADODatabase kept;
    ASSERT_TRUE(kept.Open(CADODatabase::ConnectionStringFor(match.captured(1))));
    CADORecordset client(&kept);
    QString name;
    EXPECT_TRUE(client.Open(u"SELECT * FROM client"_s) && client.GetFieldText(u"name"_s, name));
    EXPECT_EQ(name, u"改过的"_s);
    EXPECT_FALSE(app->Database()->IsOpen());
    app->ExitInstance();
}

} // namespace
