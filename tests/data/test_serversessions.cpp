// A server tells every workstation but the changing one which tables changed, once a table for
// each transaction; a workstation whose session the server ended goes on in a new one, and a
// transaction in flight then fails whole.
#include "data/adorecordset.h"
#include "data/changenotices.h"
#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "data/schema.h"
#include "data/upgrade.h"
#include "support/pgtestdatabase.h"

#include <QTest>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// Runs one statement; the first column of its row, if it has one.
qint64 RunSql(CADODatabase& database, const QString& sql)
{
    vantrel::db::Statement* statement = database.GetActiveConnection()->Prepared(sql);
    const vantrel::db::StepResult step =
        statement ? statement->Step() : vantrel::db::StepResult::Failed;
    EXPECT_NE(step, vantrel::db::StepResult::Failed) << sql.toStdString();
    const qint64 value = step == vantrel::db::StepResult::Row ? statement->Integer(0) : 0;
    if (statement)
        statement->Reset();
    return value;
}

struct Heard : QObject
{
    explicit Heard(CADODatabase& database)
    {
        connect(&database.ChangeNotices(), &CChangeNotices::TableChanged, this,
                [this](const QString& table) { tables << table; });
    }
    QStringList tables;
};

// Each table's notices a plain listener holds after waiting up to 2 s for `expected`, or
// after `ms` when none are expected.
std::map<QString, int> Notices(pg_conn* listener, int expected, int ms = 2000)
{
    std::map<QString, int> counts;
    int total = 0;
    (void)QTest::qWaitFor(
        [&] {
            PQconsumeInput(listener);
            for (PGnotify* notice; (notice = PQnotifies(listener)); PQfreemem(notice), ++total)
                ++counts[QString::fromUtf8(notice->extra)];
            return expected > 0 && total >= expected;
        },
        ms);
    return counts;
}

} // namespace

TEST(ServerSessions, NoticesReachTheOthersWithinTwoSecondsOnceATablePerTransaction)
{
    PgTestDatabase server;
    const std::unique_ptr<CADODatabase> a = server.Open();
    const std::unique_ptr<CADODatabase> b = server.Open();
    Heard heardByA(*a);
    RunSql(*a, u"INSERT INTO client (no, name) VALUES (1, '甲')"_s);
    RunSql(*b, u"INSERT INTO linkman (no, client, name) VALUES (1, 1, '张三')"_s);
    // In commit order: once B's is heard, A's own would have been.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !heardByA.tables.isEmpty(); }, 2000));
    EXPECT_EQ(heardByA.tables, QStringList{u"linkman"_s});

    pg_conn* listener =
        PQconnectdb(server.ConnectionString().section(u';', 1).toUtf8().constData());
    PQclear(PQexec(listener, "LISTEN vantrel_changes"));
    ASSERT_TRUE(b->BeginTransaction());
    for (int no = 2; no <= 300; ++no)
        RunSql(*b, u"INSERT INTO client (no, name) VALUES (%1, '客户')"_s.arg(no));
    RunSql(*b, u"UPDATE client SET remark = 'x'"_s);
    RunSql(*b, u"INSERT INTO linkman (no, client) SELECT no, no FROM client WHERE no > 1"_s);
    ASSERT_TRUE(b->CommitTransaction());
    RunSql(*b, u"DELETE FROM linkman WHERE no = 1"_s);
    EXPECT_EQ(Notices(listener, 3), (std::map<QString, int>{{u"client"_s, 1}, {u"linkman"_s, 2}}));
    EXPECT_TRUE(Notices(listener, 0, 300).empty());

    PQfinish(listener);

    // Every table's trigger works at statement level (tgtype bit 0 clear); the upgrade makes
    // those a database lacks, with nothing else to do.
    const QString triggers = u"SELECT count(*) FROM pg_trigger WHERE tgname = 'vantrel_changes' "
                             "AND (tgtype & 1) = 0"_s;
    EXPECT_EQ(server.QueryValue(triggers), QString::number(schema::DataTables().size()));
    server.Exec(
        u"DROP TRIGGER vantrel_changes ON client; DROP TRIGGER vantrel_changes ON notice"_s);
    EXPECT_EQ(UpgradeDataFile(*b, QDateTime(QDate(2026, 1, 2), QTime(3, 4))).outcome,
              UpgradeOutcome::UpToDate);
    EXPECT_EQ(server.QueryValue(triggers), QString::number(schema::DataTables().size()));
}

TEST(ServerSessions, AnEndedSessionIsReplacedAndATransactionInFlightFailsWhole)
{
    PgTestDatabase server;
    const std::unique_ptr<CADODatabase> database = server.Open();
    Heard heard(*database);
    const auto endSession = [&] {
        const qint64 pid = RunSql(*database, u"SELECT pg_backend_pid()"_s);
        ASSERT_EQ(server.QueryValue(u"SELECT pg_terminate_backend(%1, 5000)"_s.arg(pid)), u"1"_s);
    };
    const auto add = [&](const QString& table) {
        CADORecordset recordset(database.get());
        return recordset.Open(u"SELECT * FROM %1"_s.arg(table)) && recordset.AddNew() &&
               recordset.SetFieldInt(u"no"_s, 7) && recordset.Update();
    };
    // A statement kept prepared from the ended session runs in the new one.
    CADORecordset clients(database.get());
    ASSERT_TRUE(clients.Open(u"SELECT * FROM client WHERE [no] > 0"_s));
    endSession();
    EXPECT_TRUE(clients.Open(u"SELECT * FROM client WHERE [no] > 0"_s))
        << clients.GetLastError().toStdString();

    // The session ends between the two writes of one save.
    ASSERT_TRUE(database->BeginTransaction());
    EXPECT_TRUE(add(u"client"_s));
    endSession();
    CADORecordset contact(database.get());
    EXPECT_FALSE(contact.Open(u"SELECT * FROM linkman"_s));
    EXPECT_EQ(contact.GetLastErrorKind(), vantrel::db::ErrorKind::ConnectionLost);
    EXPECT_FALSE(database->CommitTransaction());
    EXPECT_EQ(database->GetLastErrorKind(), vantrel::db::ErrorKind::ConnectionLost);
    database->RollbackTransaction();
    EXPECT_EQ(server.QueryValue(u"SELECT count(*) FROM client"_s), u"0"_s);

    // Run again whole, it goes through; the new session hears the others again.
    ASSERT_TRUE(database->BeginTransaction()) << database->GetLastError().toStdString();
    EXPECT_TRUE(add(u"client"_s) && add(u"linkman"_s));
    EXPECT_TRUE(database->CommitTransaction());
    EXPECT_EQ(server.QueryValue(u"SELECT count(*) FROM client JOIN linkman USING (no)"_s), u"1"_s);
    server.Exec(u"UPDATE linkman SET name = '张三'"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard.tables.contains(u"linkman"_s); }, 2000));
}
