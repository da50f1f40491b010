#include "data/compaction.h"

#include "data/datafileusers.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kBusyMilliseconds = 2000;

struct CloseDatabase
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

struct FinalizeStatement
{
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

Database OpenFile(const QString& path, int flags, QString& error)
{
    sqlite3* handle = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags, nullptr);
    Database db(handle);
    if (code != SQLITE_OK) {
        error = u"%1: %2"_s.arg(
            path, QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(code)));
        return nullptr;
    }
    sqlite3_busy_timeout(handle, kBusyMilliseconds);
    return db;
}

QString LastError(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

bool Exec(sqlite3* db, const char* sql, QString& error)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    error = LastError(db);
    return false;
}

using TableCounts = std::vector<std::pair<QString, qint64>>;

// Every table of the file with its number of rows, by name.
std::optional<TableCounts> CountRows(sqlite3* db, QString& error)
{
    TableCounts counts;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
                           -1, &raw, nullptr) != SQLITE_OK) {
        error = LastError(db);
        return std::nullopt;
    }
    Statement tables(raw);
    int step;
    while ((step = sqlite3_step(tables.get())) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(tables.get(), 0));
        counts.emplace_back(QString::fromUtf8(name), 0);
    }
    if (step != SQLITE_DONE) {
        error = LastError(db);
        return std::nullopt;
    }
    for (auto& [name, count] : counts) {
        QString quoted = name;
        quoted.replace(u'"', u"\"\""_s);
        const QByteArray sql = (u"SELECT count(*) FROM \""_s + quoted + u'"').toUtf8();
        raw = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &raw, nullptr) != SQLITE_OK) {
            error = LastError(db);
            return std::nullopt;
        }
        Statement counter(raw);
        if (sqlite3_step(counter.get()) != SQLITE_ROW) {
            error = LastError(db);
            return std::nullopt;
        }
        count = sqlite3_column_int64(counter.get(), 0);
    }
    return counts;
}

bool CopyInto(sqlite3* source, const QString& target, QString& error)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(source, "VACUUM INTO ?1", -1, &raw, nullptr) != SQLITE_OK) {
        error = LastError(source);
        return false;
    }
    Statement vacuum(raw);
    const QByteArray path = QFile::encodeName(target);
    sqlite3_bind_text(vacuum.get(), 1, path.constData(), int(path.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(vacuum.get()) != SQLITE_DONE) {
        error = LastError(source);
        return false;
    }
    return true;
}

bool Verify(const QString& copy, const TableCounts& expected, QString& error)
{
    Database db = OpenFile(copy, SQLITE_OPEN_READONLY, error);
    if (!db)
        return false;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check", -1, &raw, nullptr) != SQLITE_OK) {
        error = LastError(db.get());
        return false;
    }
    Statement check(raw);
    if (sqlite3_step(check.get()) != SQLITE_ROW ||
        qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)), "ok") != 0) {
        error = u"the copy is damaged"_s;
        return false;
    }
    const std::optional<TableCounts> counts = CountRows(db.get(), error);
    if (!counts)
        return false;
    if (*counts != expected) {
        error = u"the copy does not hold the same rows"_s;
        return false;
    }
    return true;
}

// Gives the copy the data file's permissions and group (the folder may be shared by several
// users) and puts it on disk.
bool Flush(const QString& copy, const QString& original, QString& error)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(original).constData(), &status) != 0) {
        error = u"cannot read the permissions of %1"_s.arg(original);
        return false;
    }
    const int fd = ::open(QFile::encodeName(copy).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = u"cannot open %1"_s.arg(copy);
        return false;
    }
    bool ok = ::fchmod(fd, status.st_mode & 07777) == 0;
    if (::fchown(fd, uid_t(-1), status.st_gid) != 0) {
        // Not the user's group to give: the file keeps the user's own.
    }
    ok = ::fsync(fd) == 0 && ok;
    ::close(fd);
    if (!ok)
        error = u"cannot write %1 to disk"_s.arg(copy);
    return ok;
}

void FlushFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A rollback journal that still holds a transaction, or a write-ahead log with pages in it,
// belongs to the file as it is now; it would be replayed onto the new file and damage it.
bool HasPendingChanges(const QString& dataFile)
{
    if (QFileInfo(dataFile + u"-wal"_s).size() > 0)
        return true;
    QFile journal(dataFile + u"-journal"_s);
    if (!journal.exists() || journal.size() == 0)
        return false;
    if (!journal.open(QIODevice::ReadOnly))
        return true;
    const QByteArray header = journal.read(8);
    return header.count('\0') != header.size();
}

// Removes the copy when the work ends early, unless it ends as a kill would.
class TempFile
{
public:
    explicit TempFile(QString path) : m_path(std::move(path)) {}
    ~TempFile()
    {
        if (m_armed)
            RemoveAll();
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    bool RemoveAll() const
    {
        bool removed = true;
        for (const QString& suffix : {u""_s, u"-journal"_s, u"-wal"_s, u"-shm"_s}) {
            const QString name = m_path + suffix;
            if (QFileInfo::exists(name) && !QFile::remove(name))
                removed = false;
        }
        return removed;
    }
    void Keep() { m_armed = false; }

private:
    QString m_path;
    bool m_armed = true;
};

} // namespace

QString CompactionTempPath(const QString& dataFile)
{
    const QFileInfo info(dataFile);
    QString name = info.completeBaseName();
    if (info.suffix().compare(u"tmp"_s, Qt::CaseInsensitive) == 0 || name.isEmpty())
        name = info.fileName();
    return info.dir().filePath(name + u".tmp"_s);
}

CompactionResult CompactDataFile(const QString& dataFile, DataFileUsers& users, QString* error,
                                 const CompactionProbe& probe)
{
    QString why;
    const auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return CompactionResult::Failed;
    };
    const auto reached = [&](CompactionStep step) { return !probe || probe(step); };
    const QString stopped = u"stopped"_s;

    const QFileInfo info(dataFile);
    if (!info.isFile())
        return failed(u"%1 does not exist"_s.arg(dataFile));
    // The real file, also when the name is a symbolic link, so the link stays a link.
    const QString path = info.canonicalFilePath();
    if (!users.TryLockExclusive())
        return CompactionResult::InUse;
    if (!reached(CompactionStep::Locked))
        return failed(stopped);
    if (!QFileInfo(path).isWritable())
        return failed(u"%1 is not writable"_s.arg(path));

    const QString tempPath = CompactionTempPath(path);
    TempFile temp(tempPath);
    if (!temp.RemoveAll())
        return failed(u"cannot remove %1"_s.arg(tempPath));
    if (!reached(CompactionStep::StaleRemoved)) {
        temp.Keep();
        return failed(stopped);
    }

    {
        Database source = OpenFile(path, SQLITE_OPEN_READWRITE, why);
        Database guard = source ? OpenFile(path, SQLITE_OPEN_READWRITE, why) : nullptr;
        if (!guard)
            return failed(why);
        // Holding the write lock keeps any other writer out while the copy is made and checked;
        // taking it also rolls back a transaction that a crash left unfinished.
        if (!Exec(guard.get(), "BEGIN IMMEDIATE", why))
            return failed(why);
        const std::optional<TableCounts> counts = CountRows(source.get(), why);
        if (!counts || !CopyInto(source.get(), tempPath, why))
            return failed(why);
        if (!reached(CompactionStep::Copied)) {
            temp.Keep();
            return failed(stopped);
        }
        if (!Verify(tempPath, *counts, why))
            return failed(why);
        if (!reached(CompactionStep::Verified)) {
            temp.Keep();
            return failed(stopped);
        }
        if (!Flush(tempPath, path, why))
            return failed(why);
        if (!reached(CompactionStep::Flushed)) {
            temp.Keep();
            return failed(stopped);
        }
        Exec(guard.get(), "ROLLBACK", why);
    }
    if (HasPendingChanges(path))
        return failed(u"%1 has changes in a journal"_s.arg(path));
    if (!reached(CompactionStep::Released)) {
        temp.Keep();
        return failed(stopped);
    }

    if (::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) != 0)
        return failed(u"cannot replace %1"_s.arg(path));
    temp.Keep();
    FlushFolder(QFileInfo(path).absolutePath());
    if (!reached(CompactionStep::Replaced))
        return failed(stopped);
    return CompactionResult::Compacted;
}
