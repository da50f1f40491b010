// teamworker <connection string> <mode> <amount> <seed>: one workstation of a team at work on a
// shared database, reporting each step on its own line, flushed, so that a report read after
// the program was killed holds every step it finished.
//
// mode "mixed", amount = seconds: adds, modifies and deletes clients, and adds and deletes sales
// orders with their payments, taking every number from the counters, until the time is up:
//     client+ <no>                    a client added (name "客户<no>", remark "no=<no> …")
//     client~ <no> ok <token>|refused an edit of the client's remark to "no=<no> <token>"
//     client- <no> ok|refused         a client deleted
//     order+ <no> <payment> …         an order added together with its payments
//     order- <no> ok|gone             an order deleted together with its payments
// mode "saves", amount = orders: adds orders with their payments, saying "begin <no>" before a
// save, "done <no>" once it is committed and "failed" when it is not.
//
// mode "upload", amount unused, and a data file's connection string in place of the seed:
// copies that file onto the (empty) database, saying "copied <rows>" when it is done, as the
// upload to a server does.
//
// Every text a row is given carries its own number, and every payment the order it belongs to,
// so a write that lands on another row shows.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/datacopy.h"
#include "data/eachrow.h"
#include "data/recordnumber.h"
#include "support/workermain.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <cstdio>
#include <random>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

bool Fail(const QString& what, const QString& error)
{
    std::fprintf(stderr, "%s\n%s\n", qPrintable(what), qPrintable(error));
    return false;
}

class Workstation
{
public:
    Workstation(CADODatabase& db, unsigned seed)
        : m_db(db), m_rs(&db), m_counter(&db), m_random(seed), m_seed(seed)
    {
    }

    bool Mixed(int seconds)
    {
        QElapsedTimer clock;
        clock.start();
        for (int step = 0; clock.elapsed() < seconds * 1000LL; ++step) {
            const unsigned pick = m_random() % 10;
            bool ok = true;
            if (pick < 3)
                ok = AddClient();
            else if (pick < 5)
                ok = EditClient(step);
            else if (pick < 6)
                ok = DeleteClient();
            else if (pick < 9)
                ok = AddOrder(nullptr);
            else
                ok = DeleteOrder();
            if (!ok)
                return false;
            // A pause as between a user's clicks lets the others' steps fall in between.
            std::this_thread::sleep_for(std::chrono::milliseconds(m_random() % 3));
        }
        return true;
    }

    // A save that fails ("failed") is given up and the next one tried a moment later, as a
    // user would after the message: the server may be restarting. Ends with the last save
    // done, or false after ten seconds of failures.
    bool Saves(int orders)
    {
        constexpr int kTries = 100;
        int failures = 0;
        for (int i = 0; i < orders && failures < kTries; ++i) {
            if (AddOrder(&i)) {
                failures = 0;
                continue;
            }
            ++failures;
            Say(u"failed"_s);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return failures == 0;
    }

private:
    int Take(RecordKind kind, bool& ok)
    {
        const TakenNumber taken = TakeRecordNumber(m_counter, kind);
        ok = taken.Ok() || Fail(taken.failure, m_db.GetLastError());
        return taken.number;
    }

    // A number of a row in the table, 0 when it has none.
    int AnyRow(const QString& table)
    {
        std::vector<int> numbers;
        CADORecordset rs(&m_db);
        OpenEachRow(rs, u"SELECT [no] FROM %1 ORDER BY [no]"_s.arg(table), [&] {
            int no = 0;
            if (rs.GetFieldInt(u"no"_s, no))
                numbers.push_back(no);
        });
        if (numbers.empty())
            return 0;
        // Half the time one of the newest rows, which the others are busy with too.
        const std::size_t from = m_random() % 2 && numbers.size() > 4 ? numbers.size() - 4 : 0;
        return numbers[from + m_random() % (numbers.size() - from)];
    }

    bool OpenRow(const QString& table, int no)
    {
        return m_rs.Open(u"SELECT * FROM %1 WHERE [no] = %2"_s.arg(table).arg(no)) ||
               Fail(u"open "_s + table, m_rs.GetLastError());
    }

    bool AddClient()
    {
        bool ok = false;
        const int no = Take(RecordKind::Client, ok);
        if (!ok || !OpenRow(u"client"_s, 0))
            return false;
        if (!m_rs.AddNew() || !m_rs.SetFieldInt(u"no"_s, no) ||
            !m_rs.SetFieldText(u"name"_s, u"客户%1"_s.arg(no)) ||
            !m_rs.SetFieldText(u"number"_s, QString::number(no)) ||
            !m_rs.SetFieldText(u"remark"_s, u"no=%1 added"_s.arg(no)) || !m_rs.Update())
            return Fail(u"add client"_s, m_rs.GetLastError());
        Say(u"client+ %1"_s.arg(no));
        return true;
    }

    // A refusal means another workstation changed or deleted the row since it was read.
    bool Refused(const char* step, int no)
    {
        if (m_rs.GetLastErrorCode() != CADORecordset::kRowChangedError)
            return Fail(QString::fromLatin1(step), m_rs.GetLastError());
        Say(u"%1 %2 refused"_s.arg(QString::fromLatin1(step)).arg(no));
        return true;
    }

    bool EditClient(int step)
    {
        const int no = AnyRow(u"client"_s);
        if (no == 0 || !OpenRow(u"client"_s, no))
            return no == 0;
        if (m_rs.GetRecordCount() < 1)
            return true; // deleted meanwhile
        // The dialog's pause between reading the record and saving it.
        std::this_thread::sleep_for(std::chrono::milliseconds(m_random() % 4));
        const QString token = u"w%1s%2"_s.arg(m_seed).arg(step);
        // As the dialogs save: never over another workstation's change.
        m_rs.EditAsRead();
        if (!m_rs.SetFieldText(u"remark"_s, u"no=%1 %2"_s.arg(no).arg(token)))
            return Fail(u"write"_s, m_rs.GetLastError());
        if (!m_rs.Update())
            return Refused("client~", no);
        Say(u"client~ %1 ok %2"_s.arg(no).arg(token));
        return true;
    }

    bool DeleteClient()
    {
        const int no = AnyRow(u"client"_s);
        if (no == 0 || !OpenRow(u"client"_s, no))
            return no == 0;
        if (m_rs.GetRecordCount() < 1)
            return true;
        if (!m_rs.Delete())
            return Refused("client-", no);
        Say(u"client- %1 ok"_s.arg(no));
        return true;
    }

    // The order and its payments are one save: all of it or nothing.
    bool AddOrder(const int* saveIndex)
    {
        bool ok = false;
        const int no = Take(RecordKind::OutputData, ok);
        if (!ok)
            return false;
        std::vector<int> payments(1 + m_random() % 3);
        for (int& payment : payments)
            if (payment = Take(RecordKind::OutputDetail, ok); !ok)
                return false;
        if (saveIndex)
            Say(u"begin %1"_s.arg(no));
        const QDateTime when(QDate(2026, 1, 1).addDays(no % 365), QTime(9, 0));
        if (!m_db.BeginTransaction())
            return Fail(u"begin"_s, m_db.GetLastError());
        bool saved = OpenRow(u"outputdata"_s, 0) && m_rs.AddNew() &&
                     m_rs.SetFieldInt(u"no"_s, no) &&
                     m_rs.SetFieldText(u"paper"_s, u"S%1"_s.arg(no)) &&
                     m_rs.SetFieldText(u"client"_s, u"客户%1"_s.arg(no % 97)) &&
                     m_rs.SetFieldDouble(u"sum"_s, 100.0 * double(payments.size())) &&
                     m_rs.SetFieldText(u"remark"_s, u"no=%1"_s.arg(no)) && m_rs.Update();
        for (std::size_t i = 0; saved && i < payments.size(); ++i)
            saved = OpenRow(u"outputdetail"_s, 0) && m_rs.AddNew() &&
                    m_rs.SetFieldInt(u"no"_s, payments[i]) && m_rs.SetFieldInt(u"paper"_s, no) &&
                    m_rs.SetFieldText(u"date"_s, when.toString(u"yyyy-MM-dd HH:mm:ss"_s)) &&
                    m_rs.SetFieldDouble(u"sum"_s, 100.0) &&
                    m_rs.SetFieldText(u"remark"_s, u"order=%1"_s.arg(no)) && m_rs.Update();
        if (!saved || !m_db.CommitTransaction()) {
            const QString error = m_rs.GetLastError() + m_db.GetLastError();
            m_db.RollbackTransaction();
            return Fail(u"save order"_s, error);
        }
        if (saveIndex) {
            Say(u"done %1"_s.arg(no));
            return true;
        }
        QString line = u"order+ %1"_s.arg(no);
        for (int payment : payments)
            line += u' ' + QString::number(payment);
        Say(line);
        return true;
    }

    bool DeleteOrder()
    {
        const int no = AnyRow(u"outputdata"_s);
        if (no == 0)
            return true;
        if (!m_db.BeginTransaction())
            return Fail(u"begin"_s, m_db.GetLastError());
        // Read inside the transaction: another workstation may have deleted it since.
        const bool found = OpenRow(u"outputdata"_s, no) && m_rs.GetRecordCount() == 1;
        bool ok = !found || m_rs.Delete();
        std::vector<int> payments;
        CADORecordset rs(&m_db);
        if (ok && found)
            ok = OpenEachRow(rs, u"SELECT [no] FROM outputdetail WHERE paper = %1"_s.arg(no), [&] {
                int payment = 0;
                rs.GetFieldInt(u"no"_s, payment);
                payments.push_back(payment);
            });
        for (int payment : payments)
            ok = ok && OpenRow(u"outputdetail"_s, payment) && m_rs.Delete();
        if (!ok || !m_db.CommitTransaction()) {
            const QString error = m_rs.GetLastError() + m_db.GetLastError();
            m_db.RollbackTransaction();
            return Fail(u"delete order"_s, error);
        }
        Say(u"order- %1 %2"_s.arg(no).arg(found ? u"ok"_s : u"gone"_s));
        return true;
    }

    CADODatabase& m_db;
    CADORecordset m_rs;
    CADORecordset m_counter;
    std::mt19937 m_random;
    unsigned m_seed;
};

} // namespace

int Upload(CADODatabase& target, const QString& source)
{
    CADODatabase file;
    if (!OpenDatabase(file, source, 60))
        return 1;
    const vantrel::db::CopyReport report =
        vantrel::db::CopyData(*file.GetActiveConnection(), *target.GetActiveConnection());
    if (!report.copied)
        return Fail(u"upload"_s, report.error) ? 0 : 1;
    qint64 rows = 0;
    for (const vantrel::db::CopiedTable& table : report.tables)
        rows += table.rows;
    Say(u"copied %1"_s.arg(rows));
    return 0;
}

int main(int argc, char** argv)
{
    return RunOnDatabase(argc, argv, 5, [](CADODatabase& db, const QStringList& arguments) {
        if (arguments.at(2) == u"upload"_s)
            return Upload(db, arguments.at(4));
        Workstation workstation(db, arguments.at(4).toUInt());
        const QString& mode = arguments.at(2);
        const int amount = arguments.at(3).toInt();
        if (mode == u"mixed"_s)
            return workstation.Mixed(amount) ? 0 : 1;
        if (mode == u"saves"_s)
            return workstation.Saves(amount) ? 0 : 1;
        return 2;
    });
}
