// Programs that die at any moment, killed outright, while they save clients, back the data file
// up, compact it or restore a backup over it: afterwards the file is whole, is still taken for a
// data file, holds every client whose save was reported, and no half-written copy sits under a
// name the program trusts. The kill moments come from a seeded generator; the seed is printed,
// and VANTREL_KILL_SEED=<seed> runs the same moments again.
#include "data/backup.h"
#include "data/compaction.h"
#include "data/datafilekind.h"
#include "data/datafileusers.h"
#include "support/tempdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr unsigned kDefaultSeed = 20261208;
constexpr int kReadyMilliseconds = 60000;

enum class Work { Save, Backup, Compact, Restore };

const char* NameOf(Work work)
{
    switch (work) {
    case Work::Save:
        return "save";
    case Work::Backup:
        return "backup";
    case Work::Compact:
        return "compact";
    case Work::Restore:
        return "restore";
    }
    return "?";
}

// What a worker says after each finished piece of its work.
QByteArray PieceOf(Work work)
{
    switch (work) {
    case Work::Save:
        return "saved ";
    case Work::Backup:
        return "backed up";
    case Work::Compact:
        return "compacted";
    case Work::Restore:
        return "restored";
    }
    return {};
}

// A client as the file holds it.
using Rows = std::set<std::pair<int, QString>>;

// A file opened read-write, as the program opens its data file: a transaction that a killed
// program left in the journal is rolled back on the first read.
class Sqlite
{
public:
    explicit Sqlite(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE,
                            nullptr) == SQLITE_OK)
            sqlite3_busy_timeout(m_db, 5000);
        else
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    ~Sqlite() { sqlite3_close(m_db); }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    // The first column of every row; an error is given as the only value, marked.
    QStringList Column(const QString& sql)
    {
        QStringList values;
        if (!m_error.isEmpty())
            return {u"error: "_s + m_error};
        sqlite3_stmt* statement = nullptr;
        int code = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr);
        while (code == SQLITE_OK && (code = sqlite3_step(statement)) == SQLITE_ROW) {
            code = SQLITE_OK;
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            values << (text ? QString::fromUtf8(text) : u"<NULL>"_s);
        }
        if (code != SQLITE_DONE)
            values = QStringList{u"error: "_s + QString::fromUtf8(sqlite3_errmsg(m_db))};
        sqlite3_finalize(statement);
        return values;
    }
    QString Value(const QString& sql) { return Column(sql).value(0); }

    Rows Clients()
    {
        Rows rows;
        for (const QString& row : Column(u"SELECT no || '|' || name FROM client"_s)) {
            const qsizetype bar = row.indexOf(u'|');
            rows.emplace(bar < 0 ? -1 : row.left(bar).toInt(), row.mid(bar + 1));
        }
        return rows;
    }

private:
    sqlite3* m_db = nullptr;
    QString m_error;
};

QString Describe(const Rows& rows)
{
    QStringList names;
    for (const auto& [no, name] : rows)
        names << u"%1:%2"_s.arg(no).arg(name);
    if (names.size() > 8)
        names = names.mid(0, 8) << u"... (%1 rows)"_s.arg(rows.size());
    return names.join(u' ');
}

// One run of the worker program, until it is killed.
class Worker
{
public:
    Worker(Work work, const QStringList& arguments) : m_work(work)
    {
        m_process.start(QCoreApplication::applicationDirPath() + u"/killworker"_s,
                        QStringList{QString::fromLatin1(NameOf(work))} + arguments);
    }

    Work Kind() const { return m_work; }

    bool WaitReady()
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_output.contains("ready\n")) {
            if (timer.elapsed() > kReadyMilliseconds ||
                (!m_process.waitForReadyRead(1000) && m_process.state() != QProcess::Running))
                return false;
            m_output += m_process.readAllStandardOutput();
        }
        return true;
    }

    // Waits until the worker has told `count` finished pieces; false when it never does.
    bool WaitPieces(int count)
    {
        QElapsedTimer timer;
        timer.start();
        while (Pieces() < count) {
            if (timer.elapsed() > kReadyMilliseconds ||
                (!m_process.waitForReadyRead(1000) && m_process.state() != QProcess::Running))
                return false;
            m_output += m_process.readAllStandardOutput();
        }
        return true;
    }

    // SIGKILL, the end no program can put off. False when the worker had ended before.
    bool Kill()
    {
        const bool running = m_process.state() == QProcess::Running;
        m_process.kill();
        m_process.waitForFinished(30000);
        m_output += m_process.readAllStandardOutput();
        return running;
    }

    QString Errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

    // The complete lines told so far.
    QList<QByteArray> Lines() const
    {
        QList<QByteArray> lines = m_output.split('\n');
        lines.removeLast(); // unfinished, or empty after the last newline
        return lines;
    }
    int Pieces() const
    {
        return int(std::ranges::count_if(
            Lines(), [&](const QByteArray& line) { return line.startsWith(PieceOf(m_work)); }));
    }
    QList<QByteArray> Failures() const
    {
        QList<QByteArray> failures;
        for (const QByteArray& line : Lines())
            if (line.startsWith("failed "))
                failures << line;
        return failures;
    }
    std::set<int> Saved() const
    {
        std::set<int> saved;
        for (const QByteArray& line : Lines())
            if (line.startsWith("saved "))
                saved.insert(line.mid(6).toInt());
        return saved;
    }

private:
    Work m_work;
    QProcess m_process;
    QByteArray m_output;
};

// A data file and the work that is done on it, round after round; every lane has its own file.
struct Lane
{
    QString name;
    std::vector<Work> works;
    TempDataFile file;
    QString folder; // where the backups go
    QString backup; // what restores put in place
    Rows backupRows;
    Rows fileRows; // the file as the last round left it
    int rounds = 0;

    QString Path() const { return file.Path(); }
    bool Has(Work work) const { return std::ranges::find(works, work) != works.end(); }

    QStringList ArgumentsOf(Work work) const
    {
        switch (work) {
        case Work::Backup:
            return {Path(), folder};
        case Work::Restore:
            return {Path(), backup};
        case Work::Save:
        case Work::Compact:
            break;
        }
        return {Path()};
    }

    // Files under names the work uses only on the way (copies being written and checked), by
    // their paths within the lane's folder.
    QStringList Leftovers() const
    {
        // A journal beside the data file is SQLite's own: a blank one it ignores, one that
        // holds a transaction it rolls back (the checks before this open the file).
        QStringList trusted = {QFileInfo(Path()).fileName(),
                               QFileInfo(Path()).fileName() + u"-journal"_s,
                               QFileInfo(Path() + u"-kept.db"_s).fileName(),
                               QFileInfo(DataFileUsers::LockPathFor(Path())).fileName()};
        QStringList found;
        for (const QString& name : QDir(file.Dir()).entryList(QDir::Files))
            if (!trusted.contains(name))
                found << name;
        const QStringList backups = BackupsIn(folder, Path());
        for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files))
            if (!backups.contains(entry.absoluteFilePath()))
                found << u"backup/"_s + entry.fileName();
        return found;
    }
};

struct Tally
{
    std::map<Work, int> kills;
    int rows = 0;
    int cleaned = 0;
    int backupFailures = 0;
};

// A day after the newest backup, as the next backup would be taken on another day.
QDateTime NextBackupTime(const Lane& lane)
{
    const QDateTime last = LastBackupTime(lane.folder, lane.Path());
    const QDateTime now = QDateTime::currentDateTime();
    return (last.isValid() && last > now ? last : now).addDays(1);
}

// The next run of the work, to its end: it must clear whatever a killed run left on the way.
void RunToTheEnd(Lane& lane, Work work)
{
    QString error;
    switch (work) {
    case Work::Save:
        break;
    case Work::Backup: {
        EXPECT_TRUE(BackupDataFile(lane.Path(), lane.folder, NextBackupTime(lane), nullptr, &error))
            << error.toStdString();
        PruneBackups(lane.folder, lane.Path(), 3);
        break;
    }
    case Work::Compact: {
        DataFileUsers users(lane.Path());
        EXPECT_EQ(CompactDataFile(lane.Path(), users, &error), CompactionResult::Compacted)
            << error.toStdString();
        break;
    }
    case Work::Restore: {
        DataFileUsers users(lane.Path());
        QFile::remove(lane.Path() + u"-kept.db"_s);
        EXPECT_EQ(
            RestoreDataFile(lane.backup, lane.Path(), users, lane.Path() + u"-kept.db"_s, &error),
            RestoreResult::Restored)
            << error.toStdString();
        lane.fileRows = lane.backupRows;
        break;
    }
    }
}

// Everything that must hold after the lane's workers were killed.
void CheckAfterKill(Lane& lane, std::vector<std::unique_ptr<Worker>>& workers, const Rows& before,
                    Tally& tally)
{
    const QString path = lane.Path();
    // The next start of the program looks at the file before anything else opens it.
    EXPECT_EQ(InspectDataFile(path), DataFileKind::Ours)
        << "the program would not take its data file for one after the kill ("
        << (QFileInfo::exists(path + u"-journal"_s) ? "a journal is beside it" : "no journal")
        << ")";

    Sqlite db(path);
    EXPECT_EQ(db.Value(u"PRAGMA integrity_check"_s), u"ok"_s);
    const QStringList tables =
        db.Column(u"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"_s);
    EXPECT_TRUE(tables.contains(u"client"_s) && tables.contains(u"snnumber"_s))
        << tables.join(u' ').toStdString();
    const Rows after = db.Clients();
    tally.rows += int(after.size());

    std::set<int> reported;
    int savers = 0;
    for (const auto& worker : workers) {
        if (worker->Kind() != Work::Save)
            continue;
        ++savers;
        const std::set<int> saved = worker->Saved();
        reported.insert(saved.begin(), saved.end());
    }

    if (lane.Has(Work::Restore)) {
        // Either nothing was restored yet or the backup is there; never a mixture.
        EXPECT_TRUE(after == before || after == lane.backupRows)
            << "after: " << Describe(after).toStdString()
            << "\nbefore: " << Describe(before).toStdString()
            << "\nbackup: " << Describe(lane.backupRows).toStdString();
        if (workers.front()->Pieces() > 0) {
            EXPECT_EQ(after, lane.backupRows) << "a restore was reported";
        }
        const QString kept = path + u"-kept.db"_s; // where the restoring worker keeps it
        if (QFileInfo::exists(kept)) {
            Sqlite keptDb(kept);
            EXPECT_EQ(keptDb.Value(u"PRAGMA integrity_check"_s), u"ok"_s);
            EXPECT_EQ(InspectDataFile(kept), DataFileKind::Ours);
            tally.rows += int(keptDb.Clients().size());
        }
    } else {
        // Nothing lost: the rows there were, and every client a worker reported saved.
        EXPECT_TRUE(std::ranges::includes(after, before))
            << "before: " << Describe(before).toStdString()
            << "\nafter: " << Describe(after).toStdString();
        std::set<int> numbers;
        for (const auto& [no, name] : after)
            numbers.insert(no);
        EXPECT_EQ(numbers.size(), after.size()) << "a client number is given twice";
        for (const int no : reported) {
            EXPECT_TRUE(after.contains({no, u"row-%1"_s.arg(no)}))
                << "client " << no << " was reported saved but is not in the file";
        }
        // A worker may be killed after its row went in and before it said so, once.
        int unreported = 0;
        for (const auto& row : after) {
            if (!before.contains(row) && !reported.contains(row.first)) {
                ++unreported;
                EXPECT_EQ(row.second, u"row-%1"_s.arg(row.first));
            }
        }
        EXPECT_LE(unreported, savers) << "rows nobody saved: " << Describe(after).toStdString();
        if (lane.Has(Work::Save) && !numbers.empty()) {
            EXPECT_GT(db.Value(u"SELECT client FROM snnumber"_s).toInt(), *numbers.rbegin())
                << "the counter would give a number again";
        }
    }
    lane.fileRows = after;

    // Every backup under its own name is whole and holds rows the file had.
    for (const QString& backup : BackupsIn(lane.folder, path)) {
        QString error;
        EXPECT_TRUE(CheckBackup(backup, &error))
            << backup.toStdString() << ": " << error.toStdString();
        Sqlite copy(backup);
        const Rows rows = copy.Clients();
        tally.rows += int(rows.size());
        if (lane.Has(Work::Save)) {
            EXPECT_TRUE(std::ranges::includes(after, rows)) << backup.toStdString();
        } else {
            EXPECT_EQ(rows, after) << backup.toStdString();
        }
    }
}

void ClearLeftovers(Lane& lane, Tally& tally)
{
    const QStringList leftovers = lane.Leftovers();
    if (leftovers.isEmpty())
        return;
    if (lane.works == std::vector{Work::Save}) {
        ADD_FAILURE() << "saving left " << leftovers.join(u' ').toStdString();
        return;
    }
    for (const Work work : lane.works)
        RunToTheEnd(lane, work);
    const QStringList remaining = lane.Leftovers();
    EXPECT_TRUE(remaining.isEmpty())
        << "the next run of " << lane.name.toStdString() << " kept "
        << remaining.join(u' ').toStdString()
        << " (left by the killed one: " << leftovers.join(u' ').toStdString() << ")";
    tally.cleaned += int(leftovers.size() - remaining.size());
    // The rows the next run leaves are those to compare the next round with.
    lane.fileRows = Sqlite(lane.Path()).Clients();
    for (const QString& name : remaining)
        QFile::remove(QDir(lane.file.Dir()).filePath(name));
}

// Time for one piece of the work: a worker runs until it has done `pieces` of them.
int MicrosecondsPerPiece(Lane& lane, int pieces, Tally& tally)
{
    std::vector<std::unique_ptr<Worker>> workers;
    const Rows before = Sqlite(lane.Path()).Clients();
    workers.push_back(
        std::make_unique<Worker>(lane.works.front(), lane.ArgumentsOf(lane.works.front())));
    EXPECT_TRUE(workers.front()->WaitReady()) << workers.front()->Errors().toStdString();
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(workers.front()->WaitPieces(pieces)) << workers.front()->Errors().toStdString();
    const qint64 elapsed = timer.nsecsElapsed() / 1000;
    workers.front()->Kill();
    CheckAfterKill(lane, workers, before, tally);
    ClearLeftovers(lane, tally);
    return int(std::max<qint64>(elapsed / pieces, 100));
}

} // namespace

TEST(KillSafety, KilledAtAnyMomentTheDataFileStaysWholeAndComplete)
{
    const unsigned seed = qEnvironmentVariableIsSet("VANTREL_KILL_SEED")
                              ? unsigned(qEnvironmentVariableIntValue("VANTREL_KILL_SEED"))
                              : kDefaultSeed;
    std::printf("kill safety: seed %u (VANTREL_KILL_SEED=%u repeats the kill moments)\n", seed,
                seed);
    std::fflush(stdout);
    std::mt19937 random(seed);

    struct Plan
    {
        const char* name;
        std::vector<Work> works;
        int rounds;
    };
    const Plan plans[] = {
        {"save", {Work::Save}, 45},
        {"backup", {Work::Backup}, 40},
        {"compact", {Work::Compact}, 40},
        {"restore", {Work::Restore}, 40},
        {"save+backup", {Work::Save, Work::Backup}, 20},
        {"save+compact", {Work::Save, Work::Compact}, 20},
    };
    std::vector<std::unique_ptr<Lane>> lanes;
    for (const Plan& plan : plans) {
        auto lane = std::make_unique<Lane>();
        lane->name = QString::fromLatin1(plan.name);
        lane->works = plan.works;
        lane->rounds = plan.rounds;
        lane->folder = QDir(lane->file.Dir()).filePath(u"backup"_s);
        lanes.push_back(std::move(lane));
    }
    Lane& backupLane = *lanes[1];
    Lane& compactLane = *lanes[2];
    Lane& restoreLane = *lanes[3];

    backupLane.file.Exec(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50) "
        "INSERT INTO client (no, name, survey) SELECT i, '客户' || i, printf('%.*c', 400, 'x') "
        "FROM n"_s);
    // Space to give back, so that compaction has work to do.
    compactLane.file.Exec(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
        "INSERT INTO client (no, name, survey) SELECT i, '客户' || i, printf('%.*c', 400, 'x') "
        "FROM n; DELETE FROM client WHERE no > 200"_s);

    // The backup to restore holds clients the file does not have any more.
    restoreLane.file.Exec(u"INSERT INTO client (no, name) VALUES (1, 'kept-1'), (2, 'kept-2')"_s);
    {
        const QString source = QDir(restoreLane.file.Dir()).filePath(u"source"_s);
        QString error;
        ASSERT_TRUE(BackupDataFile(restoreLane.Path(), source, QDateTime::currentDateTime(),
                                   &restoreLane.backup, &error))
            << error.toStdString();
        restoreLane.backupRows = Sqlite(restoreLane.backup).Clients();
        ASSERT_EQ(restoreLane.backupRows.size(), 2u)
            << Describe(restoreLane.backupRows).toStdString();
    }
    restoreLane.file.Exec(u"DELETE FROM client; INSERT INTO client (no, name) "
                          "VALUES (3, 'since-3')"_s);
    for (const auto& lane : lanes)
        lane->fileRows = Sqlite(lane->Path()).Clients();

    // How long a piece of each work takes here, so that the kills fall all through it.
    Tally tally;
    std::map<Work, int> window;
    for (Lane* lane : {lanes[0].get(), lanes[1].get(), lanes[2].get(), lanes[3].get()}) {
        const Work work = lane->works.front();
        const int perPiece = MicrosecondsPerPiece(*lane, work == Work::Save ? 20 : 3, tally);
        // Many saves to a round; one and a half of any other piece, to meet every step of it.
        window[work] = work == Work::Save ? 20 * perPiece : perPiece * 3 / 2;
    }

    std::vector<Lane*> schedule;
    for (const auto& lane : lanes)
        schedule.insert(schedule.end(), size_t(lane->rounds), lane.get());
    std::ranges::shuffle(schedule, random);

    int round = 0;
    int extra = 0;
    for (Lane* lane : schedule) {
        ++round;
        SCOPED_TRACE(u"round %1, %2, seed %3"_s.arg(round).arg(lane->name).arg(seed).toStdString());
        if (lane->Has(Work::Restore)) {
            // A change since the backup, so that the round tells the two states apart.
            ++extra;
            lane->file.Exec(
                u"INSERT INTO client (no, name) VALUES (%1, 'since-%1')"_s.arg(100 + extra));
            lane->fileRows = Sqlite(lane->Path()).Clients();
        }
        const Rows before = lane->fileRows;

        // One after the other: a saver first has the file as a program has it while in use.
        std::vector<std::unique_ptr<Worker>> workers;
        bool ready = true;
        for (const Work work : lane->works) {
            workers.push_back(std::make_unique<Worker>(work, lane->ArgumentsOf(work)));
            ready = ready && workers.back()->WaitReady();
            EXPECT_TRUE(ready) << NameOf(work) << ": " << workers.back()->Errors().toStdString();
        }

        // The first worker is killed within its window; a second one within the first's and
        // its own, so that it also works on after the first has died.
        std::vector<std::pair<int, Worker*>> kills;
        int span = 0;
        for (const auto& worker : workers) {
            span += window[worker->Kind()];
            kills.emplace_back(std::uniform_int_distribution<int>(0, span)(random), worker.get());
        }
        std::ranges::sort(kills);
        QElapsedTimer timer;
        timer.start();
        for (const auto& [at, worker] : kills) {
            const qint64 wait = at - timer.nsecsElapsed() / 1000;
            if (wait > 0)
                QThread::usleep(quint64(wait));
            EXPECT_TRUE(!ready || worker->Kill())
                << NameOf(worker->Kind()) << " ended by itself: " << worker->Errors().toStdString();
            ++tally.kills[worker->Kind()];
        }
        for (const auto& worker : workers) {
            if (!ready)
                worker->Kill();
            const QList<QByteArray> failures = worker->Failures();
            if (worker->Kind() == Work::Backup && lane->Has(Work::Save)) {
                // A backup reads the file only; a transaction a killed saver left in the
                // journal keeps it out until a program that writes the file rolls it back.
                tally.backupFailures += int(failures.size());
            } else {
                EXPECT_TRUE(failures.isEmpty())
                    << NameOf(worker->Kind()) << ": " << failures.join("; ").toStdString();
            }
        }

        CheckAfterKill(*lane, workers, before, tally);
        ClearLeftovers(*lane, tally);
        if (HasFatalFailure())
            return;
    }

    std::printf("kill safety: %d rounds, seed %u; kills: save %d, backup %d, compact %d, "
                "restore %d; %d rows checked, %d leftovers cleared by the next run, %d backups "
                "kept out by a killed saver's journal\n",
                round, seed, tally.kills[Work::Save], tally.kills[Work::Backup],
                tally.kills[Work::Compact], tally.kills[Work::Restore], tally.rows, tally.cleaned,
                tally.backupFailures);
    EXPECT_GE(round, 200);
}
