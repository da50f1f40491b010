// A workstation whose server session ends (the server restarted, or the session was ended on
// it) goes on: outside a transaction the next statement connects again; a transaction in
// flight fails whole, leaving nothing, and succeeds when it is run again.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/changenotices.h"
#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "support/pgtestdatabase.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using vantrel::db::ErrorKind;

namespace {

qint64 BackendPid(CADODatabase& database)
{
    vantrel::db::Statement* statement =
        database.GetActiveConnection()->Prepared(u"SELECT pg_backend_pid()"_s);
    if (!statement || statement->Step() != vantrel::db::StepResult::Row)
        return -1;
    const qint64 pid = statement->Integer(0);
    statement->Reset();
    return pid;
}

// Ends the workstation's session from another one, as a server restart does, and waits until
// it is gone.
void EndSession(const PgTestDatabase& server, qint64 pid)
{
    ASSERT_EQ(server.QueryValue(u"SELECT pg_terminate_backend(%1, 5000)"_s.arg(pid)), u"1"_s);
}

// A client, and a contact of it, added as a dialog adds them.
bool AddClient(CADODatabase& database, int no)
{
    CADORecordset client(&database);
    if (!client.Open(u"SELECT * FROM client"_s) || !client.AddNew() ||
        !client.SetFieldInt(u"no"_s, no) || !client.SetFieldText(u"name"_s, u"甲公司"_s) ||
        !client.Update())
        return false;
    CADORecordset contact(&database);
    return contact.Open(u"SELECT * FROM linkman"_s) && contact.AddNew() &&
           contact.SetFieldInt(u"no"_s, no) && contact.SetFieldInt(u"client"_s, no) &&
           contact.Update();
}

} // namespace

TEST(Reconnecting, AnEndedSessionIsReplacedAndATransactionInFlightFailsWhole)
{
    PgTestDatabase server;
    const std::unique_ptr<CADODatabase> database = server.Open();
    QStringList heard;
    QObject context;
    QObject::connect(&database->ChangeNotices(), &CChangeNotices::TableChanged, &context,
                     [&](const QString& table) { heard << table; });

    // A statement prepared in the first session is run again in the next.
    CADORecordset clients(database.get());
    ASSERT_TRUE(clients.Open(u"SELECT * FROM client WHERE [no] > 0"_s));
    const qint64 first = BackendPid(*database);
    EndSession(server, first);
    ASSERT_TRUE(clients.Open(u"SELECT * FROM client WHERE [no] > 0"_s))
        << clients.GetLastError().toStdString();
    const qint64 second = BackendPid(*database);
    EXPECT_NE(second, first);
    EXPECT_GT(second, 0);

    // The session ends between the two writes of one save.
    ASSERT_TRUE(database->BeginTransaction());
    CADORecordset client(database.get());
    ASSERT_TRUE(client.Open(u"SELECT * FROM client"_s));
    ASSERT_TRUE(client.AddNew());
    client.SetFieldInt(u"no"_s, 7);
    ASSERT_TRUE(client.Update());
    EndSession(server, second);
    CADORecordset contact(database.get());
    EXPECT_FALSE(contact.Open(u"SELECT * FROM linkman"_s) && contact.AddNew() &&
                 contact.SetFieldInt(u"no"_s, 7) && contact.Update());
    EXPECT_EQ(contact.GetLastErrorKind(), ErrorKind::ConnectionLost);
    EXPECT_FALSE(database->CommitTransaction());
    EXPECT_EQ(database->GetLastErrorKind(), ErrorKind::ConnectionLost);
    database->RollbackTransaction();
    EXPECT_EQ(server.QueryValue(u"SELECT count(*) FROM client"_s), u"0"_s);

    // Run again whole, the save goes through on a new session, which hears the others again.
    ASSERT_TRUE(database->BeginTransaction()) << database->GetLastError().toStdString();
    EXPECT_TRUE(AddClient(*database, 7));
    EXPECT_TRUE(database->CommitTransaction()) << database->GetLastError().toStdString();
    EXPECT_EQ(server.QueryValue(u"SELECT count(*) FROM client"_s) +
                  server.QueryValue(u"SELECT count(*) FROM linkman"_s),
              u"11"_s);
    server.Exec(u"UPDATE linkman SET name = '张三'"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard.contains(u"linkman"_s); }, 2000));
}
