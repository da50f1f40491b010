// A team on one database: several workstations adding, changing and deleting at once, and
// workstations killed in the middle of their saves. What each one reported as done is what the
// database holds, and no row carries another's values.
//
// VANTREL_TEAMWORK_SECONDS sets how long the workstations work (tests/support/teamload.sh runs
// the long version).
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "support/datafixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString Worker()
{
    return QCoreApplication::applicationDirPath() + u"/teamworker"_s;
}

// What every workstation said it did.
struct TeamReport
{
    std::set<int> clientsAdded, clientsDeleted, ordersDeleted;
    std::map<int, std::set<QString>> edits; // client → the remarks its edits saved
    std::map<int, std::set<int>> orders;    // order → its payments
    std::set<int> payments;
    int steps = 0, refused = 0;

    void Read(const QByteArray& output)
    {
        for (const QByteArray& line : output.split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() < 2)
                continue;
            ++steps;
            const int no = words[1].toInt();
            const QByteArray& step = words[0];
            if (words.value(2) == "refused") {
                ++refused;
            } else if (step == "client+") {
                EXPECT_TRUE(clientsAdded.insert(no).second) << "client number given twice: " << no;
            } else if (step == "client~") {
                edits[no].insert(QString::fromUtf8(words.value(3)));
            } else if (step == "client-") {
                EXPECT_TRUE(clientsDeleted.insert(no).second) << "client deleted twice: " << no;
            } else if (step == "order+") {
                EXPECT_FALSE(orders.contains(no)) << "order number given twice: " << no;
                for (qsizetype i = 2; i < words.size(); ++i) {
                    EXPECT_TRUE(payments.insert(words[i].toInt()).second)
                        << "payment number given twice: " << words[i].toStdString();
                    orders[no].insert(words[i].toInt());
                }
            } else if (step == "order-" && words.value(2) == "ok") {
                EXPECT_TRUE(ordersDeleted.insert(no).second) << "order deleted twice: " << no;
            }
        }
    }
};

struct PaymentRow
{
    int order;
    double sum;
    QString remark;
};

// The payments on the database by their number.
std::map<int, PaymentRow> PaymentsOn(CADODatabase& db)
{
    std::map<int, PaymentRow> payments;
    CADORecordset rs(&db);
    EXPECT_TRUE(OpenEachRow(rs, u"SELECT [no], paper, sum, remark FROM outputdetail"_s, [&] {
        int no = 0;
        PaymentRow row{};
        rs.GetFieldInt(u"no"_s, no);
        rs.GetFieldInt(u"paper"_s, row.order);
        rs.GetFieldDouble(u"sum"_s, row.sum);
        rs.GetFieldText(u"remark"_s, row.remark);
        payments[no] = row;
    }));
    return payments;
}

// Each order's payments are all there with it, or it is not there: the sum of an order is 100
// for each payment saved with it.
std::map<int, std::set<int>> OrdersOn(CADODatabase& db)
{
    std::map<int, std::set<int>> orders;
    std::map<int, double> sums;
    CADORecordset rs(&db);
    EXPECT_TRUE(OpenEachRow(rs, u"SELECT [no], paper, sum, remark FROM outputdata"_s, [&] {
        int no = 0;
        QString paper, remark;
        rs.GetFieldInt(u"no"_s, no);
        rs.GetFieldText(u"paper"_s, paper);
        rs.GetFieldText(u"remark"_s, remark);
        rs.GetFieldDouble(u"sum"_s, sums[no]);
        EXPECT_EQ(paper, u"S%1"_s.arg(no));
        EXPECT_EQ(remark, u"no=%1"_s.arg(no));
        orders[no];
    }));
    for (const auto& [no, payment] : PaymentsOn(db)) {
        EXPECT_EQ(payment.remark, u"order=%1"_s.arg(payment.order)) << "payment " << no;
        EXPECT_TRUE(orders.contains(payment.order)) << "payment " << no << " without its order";
        orders[payment.order].insert(no);
    }
    for (const auto& [no, payments] : orders)
        EXPECT_DOUBLE_EQ(sums[no], 100.0 * double(payments.size())) << "order " << no;
    return orders;
}

int Counter(CADODatabase& db, const QString& column)
{
    CADORecordset rs(&db);
    int next = 0;
    EXPECT_TRUE(rs.Open(u"SELECT * FROM snnumber"_s) && rs.GetRecordCount() == 1);
    rs.MoveFirst();
    rs.GetFieldInt(column, next);
    return next;
}

using TeamWork = DataTest;

TEST_P(TeamWork, FiveWorkstationsAtMixedWorkKeepEveryReportedSaveAndNoMixedRows)
{
    const QByteArray wanted = qgetenv("VANTREL_TEAMWORK_SECONDS");
    // The server's run is the long one; a file shared by five takes its writers in turn.
    const bool server = QLatin1StringView(GetParam().name) != "sqlite"_L1;
    const int seconds = !wanted.isEmpty() ? wanted.toInt() : (server ? 30 : 10);
    std::vector<std::unique_ptr<QProcess>> workstations;
    for (int seed = 1; seed <= 5; ++seed) {
        workstations.push_back(std::make_unique<QProcess>());
        workstations.back()->start(Worker(), {ConnectionString(), u"mixed"_s,
                                              QString::number(seconds), QString::number(seed)});
    }
    TeamReport report;
    for (const auto& workstation : workstations) {
        ASSERT_TRUE(workstation->waitForFinished((seconds + 120) * 1000));
        EXPECT_EQ(workstation->exitCode(), 0) << workstation->readAllStandardError().toStdString();
        report.Read(workstation->readAllStandardOutput());
    }
    ASSERT_GT(report.clientsAdded.size(), 0u);
    ASSERT_GT(report.orders.size(), 0u);

    const std::unique_ptr<CADODatabase> db = Open();
    // Clients: every one reported added and not deleted is there, with its own values and the
    // remark of an edit that was reported saved.
    std::set<int> clients;
    CADORecordset rs(db.get());
    ASSERT_TRUE(OpenEachRow(rs, u"SELECT [no], name, number, remark FROM client"_s, [&] {
        int no = 0;
        QString name, number, remark;
        rs.GetFieldInt(u"no"_s, no);
        rs.GetFieldText(u"name"_s, name);
        rs.GetFieldText(u"number"_s, number);
        rs.GetFieldText(u"remark"_s, remark);
        clients.insert(no);
        EXPECT_TRUE(report.clientsAdded.contains(no)) << "client nobody added: " << no;
        EXPECT_EQ(name, u"客户%1"_s.arg(no));
        EXPECT_EQ(number, QString::number(no));
        const QString prefix = u"no=%1 "_s.arg(no);
        ASSERT_TRUE(remark.startsWith(prefix)) << remark.toStdString();
        const QString token = remark.mid(prefix.size());
        if (report.edits.contains(no))
            EXPECT_TRUE(report.edits[no].contains(token)) << no << ": " << token.toStdString();
        else
            EXPECT_EQ(token, u"added"_s) << no;
    }));
    std::set<int> kept;
    std::set_difference(report.clientsAdded.begin(), report.clientsAdded.end(),
                        report.clientsDeleted.begin(), report.clientsDeleted.end(),
                        std::inserter(kept, kept.end()));
    EXPECT_EQ(clients, kept);

    // Orders: every one reported added and not deleted is there with exactly its payments.
    std::map<int, std::set<int>> expected = report.orders;
    for (int no : report.ordersDeleted)
        EXPECT_EQ(expected.erase(no), 1u) << "an order deleted that nobody added: " << no;
    EXPECT_EQ(OrdersOn(*db), expected);
    // The counters are ahead of every number given.
    EXPECT_GT(Counter(*db, u"client"_s), *report.clientsAdded.rbegin());
    EXPECT_GT(Counter(*db, u"outputdetail"_s), *report.payments.rbegin());
    std::printf("[ figures  ] %d steps in %d s: %zu clients added, %zu deleted, %d refused, "
                "%zu orders added, %zu deleted\n",
                report.steps, seconds, report.clientsAdded.size(), report.clientsDeleted.size(),
                report.refused, report.orders.size(), report.ordersDeleted.size());
}

TEST_P(TeamWork, WorkstationsKilledDuringSavesLeaveExactlyTheSavesTheyReported)
{
    constexpr int kKills = 50;
    std::mt19937 random(2026);
    std::set<int> begun, done;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess workstation;
        workstation.start(Worker(),
                          {ConnectionString(), u"saves"_s, u"100000"_s, QString::number(kill)});
        ASSERT_TRUE(workstation.waitForReadyRead(30000))
            << workstation.readAllStandardError().toStdString();
        // Anywhere in a save: most take a few milliseconds.
        QThread::usleep(1000 * (random() % 150));
        ::kill(static_cast<pid_t>(workstation.processId()), SIGKILL);
        ASSERT_TRUE(workstation.waitForFinished(30000));
        for (const QByteArray& line : workstation.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 2 && words[0] == "begin")
                EXPECT_TRUE(begun.insert(words[1].toInt()).second) << "number given twice";
            else if (words.size() == 2 && words[0] == "done")
                done.insert(words[1].toInt());
        }
    }
    // A workstation started after the last kill saves as if nothing had happened.
    QProcess last;
    last.start(Worker(), {ConnectionString(), u"saves"_s, u"3"_s, u"99"_s});
    ASSERT_TRUE(last.waitForFinished(60000));
    ASSERT_EQ(last.exitCode(), 0) << last.readAllStandardError().toStdString();
    for (const QByteArray& line : last.readAllStandardOutput().split('\n')) {
        if (line.startsWith("done ") && done.insert(line.mid(5).toInt()).second) {
            EXPECT_TRUE(begun.insert(line.mid(5).toInt()).second);
        }
    }

    const std::unique_ptr<CADODatabase> db = Open();
    std::set<int> saved;
    for (const auto& [no, payments] : OrdersOn(*db))
        saved.insert(no);
    // Every save reported is there; beyond them at most the one each kill interrupted after
    // its commit and before it could say so.
    EXPECT_TRUE(std::includes(saved.begin(), saved.end(), done.begin(), done.end()));
    EXPECT_TRUE(std::includes(begun.begin(), begun.end(), saved.begin(), saved.end()));
    EXPECT_LE(saved.size(), done.size() + kKills);
    EXPECT_GT(done.size(), 0u);
    std::printf("[ figures  ] %d kills: %zu saves begun, %zu reported done, %zu on the database\n",
                kKills, begun.size(), done.size(), saved.size());
}

INSTANTIATE_TEST_SUITE_P(, TeamWork, EachBackend(), BackendName);

// A server of this test's own, which it may restart: the run's shared one serves other tests.
class PrivateServer
{
public:
    PrivateServer()
        : m_script(QString::fromUtf8(VANTREL_SOURCE_DIR "/tests/support/pgserver.sh")),
          m_port(QString::number(qEnvironmentVariableIntValue("VANTREL_TEST_PGPORT") + 67)),
          m_sharedPort(qgetenv("VANTREL_TEST_PGPORT"))
    {
        m_started = Run(u"start"_s, {m_folder.path(), m_port});
        qputenv("VANTREL_TEST_PGPORT", m_port.toUtf8());
    }
    ~PrivateServer()
    {
        qputenv("VANTREL_TEST_PGPORT", m_sharedPort);
        Run(u"stop"_s, {m_folder.path()});
    }
    bool Started() const { return m_started; }
    bool Restart() { return Run(u"restart"_s, {m_folder.path()}); }

private:
    bool Run(const QString& command, const QStringList& arguments)
    {
        QProcess script;
        script.start(m_script, QStringList{command} + arguments);
        return script.waitForFinished(60000) && script.exitCode() == 0;
    }

    QTemporaryDir m_folder;
    QString m_script;
    QString m_port;
    QByteArray m_sharedPort;
    bool m_started = false;
};

TEST(TeamServer, AServerRestartedDuringSavesLosesNoReportedSaveAndTheWorkstationGoesOn)
{
    PrivateServer server;
    ASSERT_TRUE(server.Started());
    std::unique_ptr<TestDatabase> database = DataBackends().back().makeDatabase();
    QProcess workstation;
    workstation.start(Worker(), {database->ConnectionString(), u"saves"_s, u"600"_s, u"7"_s});
    // Restart once the workstation is well at work.
    QByteArray output;
    while (output.count("done ") < 100 && workstation.waitForReadyRead(30000))
        output += workstation.readAllStandardOutput();
    ASSERT_GE(output.count("done "), 100) << workstation.readAllStandardError().toStdString();
    ASSERT_TRUE(server.Restart());
    const qsizetype doneBefore = output.count("done ");
    ASSERT_TRUE(workstation.waitForFinished(120000));
    output += workstation.readAllStandardOutput();
    EXPECT_EQ(workstation.exitCode(), 0) << workstation.readAllStandardError().toStdString();

    std::set<int> done;
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("done "))
            done.insert(line.mid(5).toInt());
    const std::unique_ptr<CADODatabase> db = database->Open();
    std::set<int> saved;
    for (const auto& [no, payments] : OrdersOn(*db))
        saved.insert(no);
    EXPECT_TRUE(std::includes(saved.begin(), saved.end(), done.begin(), done.end()));
    // It went on saving after the restart, without being started again.
    EXPECT_GT(qsizetype(done.size()), doneBefore);
    std::printf("[ figures  ] restart after %lld saves: %zu reported done in all, %lld failed, "
                "%zu on the server\n",
                static_cast<long long>(doneBefore), done.size(),
                static_cast<long long>(output.count("failed")), saved.size());
}

// Uploads of a data file killed at random moments: the server's database is either untouched
// or holds the whole file, never a part of it.
TEST(TeamServer, UploadsKilledHalfWayLeaveTheServerEitherEmptyOrWhole)
{
    constexpr int kKills = 20;
    const std::unique_ptr<TestDatabase> file = DataBackends().front().makeDatabase();
    file->Exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
               "INSERT INTO client (no, name, number, remark) SELECT i, '客户' || i, i, 'no=' || i "
               "FROM n"_s);
    file->Exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
               "INSERT INTO outputdata (no, paper, sum, remark) SELECT i, 'S' || i, 100, "
               "'no=' || i FROM n"_s);
    std::mt19937 random(25);
    std::unique_ptr<TestDatabase> server = DataBackends().back().makeDatabase();
    // How long an upload takes here, so that the kills fall all over it.
    QElapsedTimer clock;
    clock.start();
    QProcess whole;
    whole.start(Worker(),
                {server->ConnectionString(), u"upload"_s, u"0"_s, file->ConnectionString()});
    ASSERT_TRUE(whole.waitForFinished(120000));
    ASSERT_TRUE(whole.readAllStandardOutput().startsWith("copied "))
        << whole.readAllStandardError().toStdString();
    const auto span = static_cast<unsigned>(clock.elapsed()) + 1;
    server = DataBackends().back().makeDatabase();
    int interrupted = 0, completed = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess upload;
        upload.start(Worker(),
                     {server->ConnectionString(), u"upload"_s, u"0"_s, file->ConnectionString()});
        ASSERT_TRUE(upload.waitForStarted());
        QThread::usleep(1000 * (random() % span));
        ::kill(static_cast<pid_t>(upload.processId()), SIGKILL);
        ASSERT_TRUE(upload.waitForFinished(30000));
        const bool copied = upload.readAllStandardOutput().startsWith("copied ");
        const QString clients = server->QueryValue(u"SELECT count(*) FROM client"_s);
        const QString orders = server->QueryValue(u"SELECT count(*) FROM outputdata"_s);
        if (copied) {
            ++completed;
            EXPECT_EQ(clients, u"20000"_s);
            EXPECT_EQ(orders, u"20000"_s);
            server = DataBackends().back().makeDatabase(); // the next upload needs an empty one
        } else {
            ++interrupted;
            // A commit may have reached the server just before the kill.
            const bool whole = clients == u"20000"_s && orders == u"20000"_s;
            EXPECT_TRUE(whole || (clients == u"0"_s && orders == u"0"_s))
                << clients.toStdString() << " clients, " << orders.toStdString() << " orders";
            if (whole)
                server = DataBackends().back().makeDatabase();
        }
    }
    EXPECT_GT(interrupted, 0);
    std::printf("[ figures  ] %d uploads killed within the %u ms one takes: %d interrupted, %d "
                "had finished\n",
                kKills, span, interrupted, completed);
}

} // namespace
