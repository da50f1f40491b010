// On a server every table tells the listening workstations that it changed: one notice a table
// for each transaction, to every workstation but the one that changed it.
#include "data/adodatabase.h"
#include "data/changenotices.h"
#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "data/schema.h"
#include "data/upgrade.h"
#include "support/pgtestdatabase.h"

#include <QDateTime>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Runs one statement through the access layer's connection.
void RunSql(CADODatabase& database, const QString& sql)
{
    vantrel::db::Statement* statement = database.GetActiveConnection()->Prepared(sql);
    ASSERT_NE(statement, nullptr) << sql.toStdString();
    EXPECT_EQ(statement->Step(), vantrel::db::StepResult::Done)
        << sql.toStdString() << ": "
        << database.GetActiveConnection()->LastError().message.toStdString();
    statement->Reset();
}

// The tables a database's notices named, in the order they came.
struct Heard
{
    explicit Heard(CADODatabase& database)
    {
        QObject::connect(&database.ChangeNotices(), &CChangeNotices::TableChanged, &context,
                         [this](const QString& table) { tables << table; });
    }
    QObject context;
    QStringList tables;
};

// How many notices of each table a plain libpq listener holds after waiting up to `ms`
// for `expected` of them.
std::map<QString, int> CountNotices(pg_conn* listener, int expected, int ms)
{
    std::map<QString, int> counts;
    int total = 0;
    (void)QTest::qWaitFor(
        [&] {
            PQconsumeInput(listener);
            while (PGnotify* notice = PQnotifies(listener)) {
                ++counts[QString::fromUtf8(notice->extra)];
                ++total;
                PQfreemem(notice);
            }
            return total >= expected;
        },
        ms);
    return counts;
}

} // namespace

TEST(ChangeNotices, ReachTheOtherWorkstationsWithinTwoSecondsButNotTheOneThatChanged)
{
    PgTestDatabase server;
    const std::unique_ptr<CADODatabase> a = server.Open();
    const std::unique_ptr<CADODatabase> b = server.Open();
    Heard heardByA(*a);
    Heard heardByB(*b);

    RunSql(*a, u"INSERT INTO client (no, name) VALUES (1, '甲')"_s);
    RunSql(*b, u"INSERT INTO linkman (no, client, name) VALUES (1, 1, '张三')"_s);
    // Notices come in the order of the commits: once B's is heard, A's own would have been.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !heardByA.tables.isEmpty(); }, 2000));
    EXPECT_EQ(heardByA.tables, QStringList{u"linkman"_s});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !heardByB.tables.isEmpty(); }, 2000));
    EXPECT_EQ(heardByB.tables, QStringList{u"client"_s});

    // Heard while idle, without another statement to bring it.
    heardByA.tables.clear();
    server.Exec(u"UPDATE linkman SET name = '李四' WHERE no = 1"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !heardByA.tables.isEmpty(); }, 2000));
    EXPECT_EQ(heardByA.tables, QStringList{u"linkman"_s});

    // A closed database hears nothing more.
    a->Close();
    heardByA.tables.clear();
    RunSql(*b, u"DELETE FROM linkman"_s);
    QTest::qWait(200);
    EXPECT_TRUE(heardByA.tables.isEmpty());
}

TEST(ChangeNotices, EachTableSendsOneNoticeATransactionAndTheUpgradeMakesTheMissingTriggers)
{
    PgTestDatabase server;
    pg_conn* listener =
        PQconnectdb(server.ConnectionString().section(u';', 1).toUtf8().constData());
    ASSERT_EQ(PQstatus(listener), CONNECTION_OK) << PQerrorMessage(listener);
    PQclear(PQexec(listener, "LISTEN vantrel_changes"));

    // Every data table carries the trigger, at statement level (tgtype bit 0 clear).
    EXPECT_EQ(server
                  .QueryValue(u"SELECT count(*) FROM pg_trigger WHERE tgname = "
                              "'vantrel_changes' AND (tgtype & 1) = 0"_s)
                  .toInt(),
              int(schema::DataTables().size()));

    const std::unique_ptr<CADODatabase> workstation = server.Open();
    ASSERT_TRUE(workstation->BeginTransaction());
    for (int no = 1; no <= 300; ++no)
        RunSql(*workstation, u"INSERT INTO client (no, name) VALUES (%1, '客户')"_s.arg(no));
    RunSql(*workstation, u"UPDATE client SET remark = 'x'"_s);
    RunSql(*workstation, u"INSERT INTO linkman (no, client) SELECT no, no FROM client"_s);
    ASSERT_TRUE(workstation->CommitTransaction());
    RunSql(*workstation, u"DELETE FROM linkman WHERE no = 1"_s);
    const std::map<QString, int> once{{u"client"_s, 1}, {u"linkman"_s, 2}};
    EXPECT_EQ(CountNotices(listener, 3, 2000), once);
    // Nothing more is on its way.
    EXPECT_TRUE(CountNotices(listener, 1, 300).empty());

    // A database made before the triggers gains them from the upgrade, which finds nothing
    // else to do.
    server.Exec(
        u"DROP TRIGGER vantrel_changes ON client; DROP TRIGGER vantrel_changes ON notice"_s);
    EXPECT_EQ(UpgradeDataFile(*workstation, QDateTime(QDate(2026, 1, 2), QTime(3, 4))).outcome,
              UpgradeOutcome::UpToDate);
    CountNotices(listener, 100, 300); // of what the upgrade itself wrote
    RunSql(*workstation, u"DELETE FROM notice"_s);
    RunSql(*workstation, u"DELETE FROM client WHERE no = 2"_s);
    const std::map<QString, int> again{{u"client"_s, 1}, {u"notice"_s, 1}};
    EXPECT_EQ(CountNotices(listener, 2, 2000), again);
    PQfinish(listener);
}
