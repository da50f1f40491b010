#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/adox.h"
#include "data/backup.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "startfolder.h"

#include <QAction>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// 实用工具 > 升级数据库 on a data file without the address book: the tables are added, the
// copy made beside the file is named, and the address book can be used at once; a second run
// says the file is up to date.
TEST(UpgradeCommands, UpgradesTheOpenDataFileAndSaysWhatItAdded)
{
    StartFolder folder;
    folder.Data().Exec(u"DROP TABLE [group]; DROP TABLE address; "
                       "ALTER TABLE client DROP COLUMN tax"_s);
    auto app = folder.MakeApp();
    app->Connections().SetDataPath(u"sale.db"_s);
    app->Connections().OpenDatabase();
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    ASSERT_FALSE(app->Connections().Catalog()->HasTable(u"group"_s));
    CMainFrame frame(*app);
    MessageRecorder messages;

    frame.Action(ID_TOOLS_UPGRADE)->trigger();
    const QStringList backups = BackupsIn(folder.Dir(), folder.DataPath());
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(messages.Texts(),
              QStringList{u"已添加：\n数据表：通讯录分类、通讯录\n字段：客户（1 个字段）\n\n"
                          "升级前的数据文件已备份为：\n"_s +
                          backups.first()});
    EXPECT_TRUE(app->Connections().Catalog()->HasTable(u"group"_s));
    CADORecordset address(app->Database());
    EXPECT_TRUE(address.Open(u"SELECT * FROM [address] ORDER BY group, user"_s));

    messages.Clear();
    frame.Action(ID_TOOLS_UPGRADE)->trigger();
    EXPECT_EQ(messages.Texts(), QStringList{u"数据库已是最新版本。"_s});
    EXPECT_EQ(BackupsIn(folder.Dir(), folder.DataPath()).size(), 1);
    app->ExitInstance();
}

// The address book's groups table made anew lists the groups its entries carry, and the report
// names tables and columns as the user knows them.
TEST(UpgradeCommands, RemadeGroupsTableListsTheGroupsOfTheEntries)
{
    StartFolder folder;
    folder.Data().Exec(u"INSERT INTO address ([group], [user]) VALUES ('朋友', '甲'), "
                       "('同事', '乙'), ('朋友', '丙'), (NULL, '丁'), ('', '戊')"_s);
    folder.Data().Exec(u"DROP TABLE [group]; DROP TABLE materialimage; "
                       "ALTER TABLE linkman DROP COLUMN qq; ALTER TABLE linkman DROP COLUMN msn"_s);
    auto app = folder.MakeApp();
    app->Connections().SetDataPath(u"sale.db"_s);
    app->Connections().OpenDatabase();
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    CMainFrame frame(*app);
    MessageRecorder messages;
    frame.Action(ID_TOOLS_UPGRADE)->trigger();
    const QStringList backups = BackupsIn(folder.Dir(), folder.DataPath());
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(messages.Texts(),
              QStringList{u"已添加：\n数据表：原材料图片、通讯录分类\n字段：联系人（2 个字段）\n"
                          "按通讯录恢复的分类：朋友、同事\n\n升级前的数据文件已备份为：\n"_s +
                          backups.first()});
    CADORecordset groups(app->Database());
    ASSERT_TRUE(groups.Open(u"SELECT * FROM [group] ORDER BY name"_s));
    QStringList names;
    for (int i = 0, count = groups.GetRecordCount(); i < count; ++i) {
        if (i == 0)
            groups.MoveFirst();
        QString name;
        groups.GetFieldText(u"name"_s, name);
        names << name;
        groups.MoveNext();
    }
    EXPECT_EQ(names, (QStringList{u"朋友"_s, u"同事"_s}));
    app->ExitInstance();
}

// Another program's database in the data file's place is never written to.
TEST(UpgradeCommands, RefusesAnotherProgramsDatabase)
{
    StartFolder folder;
    const QString other = folder.Dir() + u"/other.db"_s;
    sqlite3* db = nullptr;
    sqlite3_open(other.toUtf8().constData(), &db);
    sqlite3_exec(db, "CREATE TABLE songs (title TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const qint64 size = QFileInfo(other).size();

    auto app = folder.MakeApp();
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    app->Connections().UseDatabase(std::make_unique<CADODatabase>());
    ASSERT_TRUE(app->Database()->Open(CADODatabase::ConnectionStringFor(other)));
    CMainFrame frame(*app);
    MessageRecorder messages;
    frame.Action(ID_TOOLS_UPGRADE)->trigger();
    EXPECT_EQ(messages.Texts(), QStringList{u"当前文件不是本程序的数据文件，不能升级！"_s});
    EXPECT_EQ(QFileInfo(other).size(), size);
    EXPECT_EQ(QDir(folder.Dir()).entryList({u"other-*"_s}).size(), 0);
}

} // namespace
