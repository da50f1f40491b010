// rowchanges_worker <connection string> <operations> <seed>: edits client rows and replaces them
// (delete, then add under a new number) through cursors read a few operations earlier, printing a
// line per step: "edit <no> ok|refused", "delete <no> ok|refused", "add <no>". Every text a row is
// given carries the row's own number, so a write that lands on another row shows.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "support/workermain.h"

#include <cstdio>
#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

bool Fail(const QString& what, const QString& error)
{
    std::fprintf(stderr, "%s\n%s\n", qPrintable(what), qPrintable(error));
    return false;
}

bool WriteOwnTexts(CADORecordset& rs, int no, const QString& note)
{
    return rs.SetFieldText(u"name"_s, u"客户%1"_s.arg(no)) &&
           rs.SetFieldText(u"number"_s, QString::number(no)) &&
           rs.SetFieldText(u"remark"_s, u"no=%1 %2"_s.arg(no).arg(note));
}

// Reports an Update or Delete: done, or refused because the row changed; false on any other
// failure.
bool Report(const char* step, int no, bool done, const CADORecordset& rs)
{
    if (!done && rs.GetLastErrorCode() != CADORecordset::kRowChangedError)
        return Fail(QString::fromLatin1(step), rs.GetLastError());
    std::printf("%s %d %s\n", step, no, done ? "ok" : "refused");
    return true;
}

class Worker
{
public:
    Worker(CADODatabase& db, unsigned seed) : m_db(db), m_rs(&db), m_adder(&db), m_seed(seed) {}

    bool Run(int operations)
    {
        std::mt19937 random(m_seed);
        bool read = false;
        for (int i = 0; i < operations; ++i) {
            // The cursor is read again every tenth step, and after each row this program
            // replaced (its last row is then the one with the largest rowid, which every
            // replacement frees and takes again); meanwhile the other program changes the rows.
            if ((!read || i % 10 == 0) && !m_rs.Open(u"SELECT * FROM client"_s))
                return Fail(u"open"_s, m_rs.GetLastError());
            read = true;
            // A pause between steps, as between a user's clicks, lets the other program's
            // steps fall between this one's read and write.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const int rows = m_rs.GetRecordCount();
            if (rows < 1)
                return Fail(u"no rows"_s, {});
            // Mostly the last row: the one whose rowid goes to the next row added.
            const bool replace = random() % 3 == 0;
            const int row =
                replace || random() % 2 ? rows - 1 : static_cast<int>(random() % unsigned(rows));
            m_rs.MoveFirst();
            for (int k = 0; k < row; ++k)
                m_rs.MoveNext();
            int no = 0;
            if (!m_rs.GetFieldInt(u"no"_s, no))
                return Fail(u"read"_s, m_rs.GetLastError());
            bool replaced = false;
            if (!(replace ? Replace(no, i, replaced) : Edit(no, i)))
                return false;
            read = !replaced;
        }
        return true;
    }

private:
    QString Note(int step) const { return u"seed %1 step %2"_s.arg(m_seed).arg(step); }

    bool Edit(int no, int step)
    {
        m_rs.Edit();
        if (!WriteOwnTexts(m_rs, no, Note(step)))
            return Fail(u"write"_s, m_rs.GetLastError());
        return Report("edit", no, m_rs.Update(), m_rs);
    }

    // Deletes the row and adds one under a number of this program's own, in one transaction:
    // the new row takes the deleted row's rowid when that was the largest.
    bool Replace(int no, int step, bool& replaced)
    {
        if (!m_db.BeginTransaction())
            return Fail(u"begin"_s, m_db.GetLastError());
        replaced = m_rs.Delete();
        const bool reported = Report("delete", no, replaced, m_rs);
        if (!reported || !replaced) {
            m_db.RollbackTransaction();
            return reported;
        }
        const int added = static_cast<int>(m_seed) * 100000 + step;
        if (!m_adder.Open(u"SELECT * FROM client WHERE [no] = 0"_s) || !m_adder.AddNew() ||
            !m_adder.SetFieldInt(u"no"_s, added) || !WriteOwnTexts(m_adder, added, Note(step)) ||
            !m_adder.Update() || !m_db.CommitTransaction()) {
            m_db.RollbackTransaction();
            return Fail(u"add"_s, m_adder.GetLastError() + m_db.GetLastError());
        }
        std::printf("add %d\n", added);
        return true;
    }

    CADODatabase& m_db;
    CADORecordset m_rs;
    CADORecordset m_adder;
    unsigned m_seed;
};

} // namespace

int main(int argc, char** argv)
{
    return RunOnDatabase(argc, argv, 4, [](CADODatabase& db, const QStringList& arguments) {
        return Worker(db, arguments.at(3).toUInt()).Run(arguments.at(2).toInt()) ? 0 : 1;
    });
}
