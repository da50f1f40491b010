#include "data/adorecordset.h"
#include "data/backup.h"
#include "data/schema.h"
#include "data/sqlite/sqlitefiles.h"
#include "data/upgrade.h"
#include "support/datafixture.h"
#include "support/tempdata.h"
#include "support/unprivileged.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kWhen(QDate(2026, 12, 8), QTime(14, 0, 0));

// A data file of an earlier layout: without the catalogue and address-book tables, without
// some columns, the appointments' counter and the reminders' own numbers, with rows in use.
void MakeOldLayout(const TempDataFile& file)
{
    file.Exec(u"DROP TABLE material; DROP TABLE materialimage; DROP TABLE product; "
              "DROP TABLE productimage; DROP TABLE [group]; DROP TABLE address; "
              "ALTER TABLE client DROP COLUMN tax; ALTER TABLE linkman DROP COLUMN holiday; "
              "ALTER TABLE snnumber DROP COLUMN appoint; UPDATE snnumber SET client = 42; "
              "INSERT INTO client (no, name) VALUES (41, '甲公司'); "
              "INSERT INTO appoint (no, linkman, place) VALUES (3, 1, '会议室'), (7, 1, '工厂'); "
              "DROP TABLE notice; "
              "CREATE TABLE notice (time DATETIME, endtime DATETIME, content LONGTEXT, old TEXT); "
              "INSERT INTO notice (content, old) VALUES ('交货', 'a'), ('付款', 'b');"_s);
}

QByteArray Digest(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString Layout(const TempDataFile& file)
{
    return file.QueryValue(u"SELECT group_concat(sql, ';') FROM sqlite_master"_s);
}

using UpgradeCounters = DataTest;

struct RawFile
{
    RawFile(const QString& path, int flags)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
        sqlite3_busy_timeout(db, 100);
    }
    ~RawFile() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};

TEST(Upgrade, AddsMissingTablesColumnsAndCountersOnceAfterABackup)
{
    TempDataFile file;
    MakeOldLayout(file);
    auto db = file.Open();
    // The connection has read the old layout before the upgrade.
    CADORecordset before(db.get());
    ASSERT_TRUE(before.Open(u"SELECT * FROM client"_s));
    EXPECT_EQ(before.GetFieldIndex(u"tax"_s), -1);
    before.Close();

    const UpgradeResult result = UpgradeDataFile(*db, kWhen);
    ASSERT_EQ(result.outcome, UpgradeOutcome::Upgraded) << result.error.toStdString();
    EXPECT_EQ(result.added.tables, (QStringList{u"material"_s, u"materialimage"_s, u"product"_s,
                                                u"productimage"_s, u"group"_s, u"address"_s}));
    EXPECT_EQ(result.added.columns, (QStringList{u"snnumber.appoint"_s, u"client.tax"_s,
                                                 u"linkman.holiday"_s, u"notice.no"_s}));
    EXPECT_FALSE(result.added.counterRow);

    // Rows and counters in use are kept; the new counter starts after the highest number.
    EXPECT_EQ(file.QueryValue(u"SELECT client || ':' || appoint || ':' || linkman FROM snnumber"_s),
              u"42:8:1"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT name FROM client WHERE no = 41"_s), u"甲公司"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM appoint"_s), u"2"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT group_concat(no || content || old, ',') FROM notice"_s),
              u"1交货a,2付款b"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM sqlite_master WHERE type = 'index' AND "
                              "tbl_name = 'notice'"_s),
              u"1"_s);

    // The copy beside the file holds it as it was.
    ASSERT_FALSE(result.backup.isEmpty());
    EXPECT_EQ(QFileInfo(result.backup).absolutePath(), QFileInfo(file.Path()).absolutePath());
    EXPECT_EQ(BackupsIn(file.Dir(), file.Path()), QStringList{result.backup});
    EXPECT_TRUE(CheckBackup(result.backup));
    RawFile copy(result.backup, SQLITE_OPEN_READONLY);
    EXPECT_EQ(sqlite3_exec(copy.db, "SELECT * FROM [group]", nullptr, nullptr, nullptr),
              SQLITE_ERROR);

    // The open connection uses the new tables and columns at once.
    CADORecordset after(db.get());
    ASSERT_TRUE(after.Open(u"SELECT * FROM client"_s));
    EXPECT_GE(after.GetFieldIndex(u"tax"_s), 0);
    CADORecordset group(db.get());
    ASSERT_TRUE(group.Open(u"SELECT * FROM [group]"_s));
    ASSERT_TRUE(group.AddNew());
    ASSERT_TRUE(group.SetFieldText(u"name"_s, u"同事"_s));
    ASSERT_TRUE(group.Update()) << group.GetLastError().toStdString();

    // A second run finds nothing to do and writes nothing, not even a copy.
    const QString layout = Layout(file);
    const UpgradeResult again = UpgradeDataFile(*db, kWhen.addSecs(60));
    EXPECT_EQ(again.outcome, UpgradeOutcome::UpToDate);
    EXPECT_TRUE(again.added.IsEmpty());
    EXPECT_EQ(Layout(file), layout);
    EXPECT_EQ(BackupsIn(file.Dir(), file.Path()).size(), 1);
    EXPECT_EQ(file.QueryValue(u"SELECT client || ':' || appoint FROM snnumber"_s), u"42:8"_s);
}

TEST_P(UpgradeCounters, EmptyCounterTableGetsARowPastTheNumbersInUse)
{
    Exec(u"DELETE FROM snnumber; INSERT INTO client (no, name) VALUES (5, 'a'), (9, 'b'); "
         "INSERT INTO outputdata (no, paper) VALUES (30, 'S-1')"_s);
    const UpgradeResult result = UpgradeDataFile(*Open(), kWhen);
    ASSERT_EQ(result.outcome, UpgradeOutcome::Upgraded) << result.error.toStdString();
    EXPECT_TRUE(result.added.counterRow);
    EXPECT_TRUE(result.added.tables.isEmpty());
    EXPECT_EQ(QueryValue(u"SELECT count(*) || ':' || max(client) || ':' || max(outputdata) || "
                         "':' || max(linkman) FROM snnumber"_s),
              u"1:10:31:1"_s);
}

// A database that holds another program's tables is never written to, on a server as in a
// file; one that holds nothing becomes a data file.
TEST_P(UpgradeCounters, AnotherProgramsDatabaseIsRefusedAnEmptyOneMadeReady)
{
    QStringList drops;
    for (const schema::Table& table : schema::DataTables())
        drops << u"DROP TABLE [%1]"_s.arg(QString::fromUtf8(table.name));
    Exec(drops.join(u"; "_s));
    Exec(u"CREATE TABLE songs (title TEXT)"_s);
    auto db = Open();
    EXPECT_EQ(UpgradeDataFile(*db, kWhen).outcome, UpgradeOutcome::NotOurs);
    QString error;
    EXPECT_FALSE(UpgradeDatabase(*db, &error));
    EXPECT_EQ(Tables(), QStringList({u"songs"_s}));

    Exec(u"DROP TABLE songs"_s);
    ASSERT_TRUE(UpgradeDatabase(*db, &error)) << error.toStdString();
    EXPECT_TRUE(Tables().contains(u"client"_s));
    EXPECT_EQ(UpgradeDataFile(*db, kWhen).outcome, UpgradeOutcome::UpToDate);
}

INSTANTIATE_TEST_SUITE_P(, UpgradeCounters, EachBackend(), BackendName);

// Another program's database, a file held by another writer, a file opened read-only: the
// upgrade says so and the file stays byte for byte as it was, without a copy.
TEST(Upgrade, RefusesFilesItMayNotChange)
{
    TempDataFile file;
    const QString foreign = file.Dir() + u"/other.db"_s;
    {
        RawFile other(foreign, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        sqlite3_exec(other.db, "CREATE TABLE songs (title TEXT)", nullptr, nullptr, nullptr);
    }
    const QByteArray foreignBefore = Digest(foreign);
    {
        RawFile other(foreign, SQLITE_OPEN_READWRITE);
        EXPECT_EQ(UpgradeDataFile(other.db, foreign, kWhen).outcome, UpgradeOutcome::NotOurs);
    }
    EXPECT_EQ(Digest(foreign), foreignBefore);

    MakeOldLayout(file);
    const QByteArray before = Digest(file.Path());
    {
        RawFile writer(file.Path(), SQLITE_OPEN_READWRITE);
        ASSERT_EQ(sqlite3_exec(writer.db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        RawFile upgrading(file.Path(), SQLITE_OPEN_READWRITE);
        EXPECT_EQ(UpgradeDataFile(upgrading.db, file.Path(), kWhen).outcome,
                  UpgradeOutcome::Locked);
        sqlite3_exec(writer.db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    {
        RawFile reading(file.Path(), SQLITE_OPEN_READONLY);
        EXPECT_EQ(UpgradeDataFile(reading.db, file.Path(), kWhen).outcome,
                  UpgradeOutcome::ReadOnly);
    }
    EXPECT_EQ(Digest(file.Path()), before);
    EXPECT_TRUE(BackupsIn(file.Dir(), file.Path()).isEmpty());
}

// A file the user may not write to, as the program opens it.
TEST(Upgrade, ReadOnlyFileOnDiskIsLeftAlone)
{
    TempDataFile file;
    MakeOldLayout(file);
    QFile::setPermissions(file.Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    UnprivilegedScope::OpenToOthers(file.Dir());
    const QByteArray before = Digest(file.Path());
    {
        const UnprivilegedScope unprivileged;
        ASSERT_TRUE(unprivileged.Ok());
        const UpgradeResult result = UpgradeDataFile(*file.Open(), kWhen);
        EXPECT_EQ(result.outcome, UpgradeOutcome::ReadOnly);
    }
    EXPECT_EQ(Digest(file.Path()), before);
}

} // namespace
