#include "app/logindlg.h"
#include "app/mainframe.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "app/workpathdlg.h"
#include "data/adodatabase.h"
#include "data/datafilekind.h"
#include "data/schema.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "startfolder.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Another program's SQLite database.
void WriteForeignDatabase(const QString& path)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE bookmarks (url TEXT); INSERT INTO bookmarks VALUES ('x')",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QByteArray Digest(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

TEST(DataFileChoice, FilesAreToldApart)
{
    StartFolder folder;
    const QString text = folder.Dir() + u"/notes.db"_s;
    const QString foreign = folder.Dir() + u"/places.db"_s;
    const QString empty = folder.Dir() + u"/new.db"_s;
    WriteFile(text, "just some text, not a database at all");
    WriteForeignDatabase(foreign);
    WriteFile(empty, QByteArray());

    EXPECT_EQ(InspectDataFile(folder.DataPath()), DataFileKind::Ours);
    EXPECT_EQ(InspectDataFile(text), DataFileKind::Foreign);
    EXPECT_EQ(InspectDataFile(foreign), DataFileKind::Foreign);
    EXPECT_EQ(InspectDataFile(empty), DataFileKind::Empty);
    EXPECT_EQ(InspectDataFile(folder.Dir() + u"/missing.db"_s), DataFileKind::Foreign);

    // Only an empty database is made into a data file; the others are left byte for byte.
    const QByteArray foreignBefore = Digest(foreign);
    EXPECT_FALSE(PrepareDataFile(foreign));
    EXPECT_FALSE(PrepareDataFile(text));
    EXPECT_EQ(Digest(foreign), foreignBefore);
    ASSERT_TRUE(PrepareDataFile(empty));
    EXPECT_EQ(InspectDataFile(empty), DataFileKind::Ours);

    // The upgrade refuses another program's database.
    CADODatabase database;
    ASSERT_TRUE(database.Open(CADODatabase::ConnectionStringFor(foreign)));
    QString error;
    EXPECT_FALSE(UpgradeDatabase(database, &error));
    database.Close();
    EXPECT_EQ(Digest(foreign), foreignBefore);
}

TEST(DataFileChoice, WorkPathDialogTakesOnlyADataFile)
{
    StartFolder folder;
    QFile::remove(folder.DataPath());
    const QString text = folder.Dir() + u"/notes.db"_s;
    const QString foreign = folder.Dir() + u"/places.db"_s;
    const QString empty = folder.Dir() + u"/new.db"_s;
    WriteFile(text, "just some text");
    WriteForeignDatabase(foreign);
    WriteFile(empty, QByteArray());

    MessageRecorder messages;
    auto app = folder.MakeApp();
    ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(u"IDC_DBPATH"_s);
        auto* ok = dialog.findChild<QDialogButtonBox*>(u"buttons"_s)->button(QDialogButtonBox::Ok);
        for (const QString& bad : {text, foreign}) {
            edit->setText(bad);
            QTest::mouseClick(ok, Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible()) << bad.toStdString();
        }
        EXPECT_TRUE(app->Settings().ReadSetting(u"Path"_s).isEmpty());
        edit->setText(empty);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
    EXPECT_EQ(messages.Texts(), QStringList(2, u"所选文件不是本软件的数据文件，请重新选择！"_s));
    EXPECT_EQ(app->Settings().ReadSetting(u"Path"_s), empty);
    EXPECT_EQ(InspectDataFile(empty), DataFileKind::Ours);
}

// A configured file that is there but unusable brings the dialog back, and a local "sale.db"
// of another program counts as missing: neither is compacted or given users.
TEST(DataFileChoice, StartUpAsksAgainForAnUnusableFileAndNeverWritesIt)
{
    StartFolder folder;
    const QString foreign = folder.Dir() + u"/places.db"_s;
    WriteForeignDatabase(foreign);
    folder.WriteIni("[Settings]\nPath=" + foreign.toUtf8() + "\n");
    QFile::remove(folder.DataPath());
    WriteForeignDatabase(folder.DataPath());
    const QByteArray localBefore = Digest(folder.DataPath());
    const QByteArray foreignBefore = Digest(foreign);

    auto app = folder.MakeApp();
    QString shownPath;
    {
        ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
            shownPath = dialog.Path();
            dialog.reject();
        });
        EXPECT_FALSE(CStartUp(*app).SettleDatabasePath());
    }
    EXPECT_EQ(shownPath, foreign);

    // Forced onto the foreign file anyway, start-up neither compacts it nor adds `power`.
    app->Connections().SetDataPath(u"sale.db"_s);
    app->Connections().CompactDataFile();
    app->Connections().OpenDatabase();
    MessageRecorder messages;
    {
        ModalDriver<CLoginDlg> driver([](CLoginDlg& dialog) { dialog.reject(); });
        EXPECT_FALSE(CStartUp(*app).SignIn());
    }
    EXPECT_TRUE(messages.Texts().contains(u"数据库无法打开，请与作者联系！"_s));
    app->ExitInstance();
    EXPECT_EQ(Digest(folder.DataPath()), localBefore);
    EXPECT_EQ(Digest(foreign), foreignBefore);
}

} // namespace

namespace {

// A data file of an earlier layout, without the record counters, is taken as an old data file:
// start-up says so, the administrator signs in and 升级数据库 completes it. Another program's
// database that happens to use one of our table names stays refused.
TEST(DataFileChoice, AFileWithPartOfOurTablesIsAnOldDataFileToUpgrade)
{
    StartFolder folder;
    folder.AddSkin(u"xpsteel.smf"_s);
    folder.Data().Exec(u"INSERT INTO client (no, name) VALUES (41, '甲')"_s);
    folder.Data().Exec(u"DROP TABLE snnumber"_s);
    const QString cities = folder.Dir() + u"/cities.db"_s;
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(cities.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE city (name TEXT, population INTEGER)", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    EXPECT_EQ(InspectDataFile(folder.DataPath()), DataFileKind::Old);
    EXPECT_EQ(InspectDataFile(cities), DataFileKind::Foreign);
    EXPECT_FALSE(PrepareDataFile(cities));
    const QByteArray before = Digest(folder.DataPath());
    EXPECT_TRUE(PrepareDataFile(folder.DataPath()));
    EXPECT_EQ(Digest(folder.DataPath()), before);

    const QString note = u"数据文件缺少部分数据表，请用管理员身份登录后执行“升级数据库”。"_s;
    {
        // Chosen in the work-path dialog it is taken too, with the same note.
        const QString elsewhere = folder.Dir() + u"/old.db"_s;
        ASSERT_TRUE(QFile::copy(folder.DataPath(), elsewhere));
        QFile::rename(folder.DataPath(), folder.DataPath() + u".away"_s);
        MessageRecorder messages;
        auto app = folder.MakeApp();
        ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
            dialog.findChild<QLineEdit*>(u"IDC_DBPATH"_s)->setText(elsewhere);
            dialog.accept();
        });
        ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
        EXPECT_EQ(app->Connections().DataPath(), elsewhere);
        EXPECT_EQ(messages.Texts(), QStringList{note});
        QFile::rename(folder.DataPath() + u".away"_s, folder.DataPath());
        folder.WriteIni(QByteArray());
    }

    MessageRecorder messages;
    auto app = folder.MakeApp();
    ModalDriver<CLoginDlg> driver([&](CLoginDlg& dialog) {
        QTest::keyClicks(dialog.PasswordEdit(), u"583016"_s);
        QTest::keyClick(dialog.PasswordEdit(), Qt::Key_Return);
    });
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(messages.Texts(), QStringList{note});
    EXPECT_EQ(app->Connections().DataPath(), u"sale.db"_s);
    ASSERT_NE(app->MainWindow(), nullptr);
    auto* frame = qobject_cast<CMainFrame*>(app->MainWindow());
    ASSERT_NE(frame, nullptr);
    messages.Clear();
    frame->Action(ID_TOOLS_UPGRADE)->trigger();
    ASSERT_EQ(messages.Texts().size(), 1);
    EXPECT_TRUE(messages.LastText().startsWith(u"已添加：\n数据表：编号计数器\n"_s))
        << messages.LastText().toStdString();
    // The new counters start after the numbers in use.
    EXPECT_EQ(folder.Data().QueryValue(u"SELECT client FROM snnumber"_s), u"42"_s);
    EXPECT_EQ(InspectDataFile(folder.DataPath()), DataFileKind::Ours);
    app->ExitInstance();
}

} // namespace
