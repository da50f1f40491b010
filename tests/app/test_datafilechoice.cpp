#include "app/logindlg.h"
#include "app/vantrelapp.h"
#include "app/workpathdlg.h"
#include "data/adodatabase.h"
#include "data/datafilekind.h"
#include "data/schema.h"
#include "kit/messages.h"
#include "startfolder.h"

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
        EXPECT_TRUE(app->ReadSetting(u"Path"_s).isEmpty());
        edit->setText(empty);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    ASSERT_TRUE(app->SettleDatabasePath());
    EXPECT_EQ(messages.Texts(), QStringList(2, u"所选文件不是本软件的数据文件，请重新选择！"_s));
    EXPECT_EQ(app->ReadSetting(u"Path"_s), empty);
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
        EXPECT_FALSE(app->SettleDatabasePath());
    }
    EXPECT_EQ(shownPath, foreign);

    // Forced onto the foreign file anyway, start-up neither compacts it nor adds `power`.
    app->m_strDbPath = u"sale.db"_s;
    app->CompactDataFile();
    app->OpenDatabase();
    MessageRecorder messages;
    {
        ModalDriver<CLoginDlg> driver([](CLoginDlg& dialog) { dialog.reject(); });
        EXPECT_FALSE(app->SignIn());
    }
    EXPECT_TRUE(messages.Texts().contains(u"数据库无法打开，请与作者联系！"_s));
    app->ExitInstance();
    EXPECT_EQ(Digest(folder.DataPath()), localBefore);
    EXPECT_EQ(Digest(foreign), foreignBefore);
}

} // namespace
