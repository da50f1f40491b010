#pragma once

#include <QString>

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The pieces that copy a data file and put a copy in its place without ever leaving a damaged
// or half-written file under the data file's name: compaction, backup and restore share them.
namespace vantrel::filesafety {

inline constexpr int kBusyMilliseconds = 2000;

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

Database OpenFile(const QString& path, int flags, QString& error);
QString LastError(sqlite3* db);
bool Exec(sqlite3* db, const char* sql, QString& error);

using TableCounts = std::vector<std::pair<QString, qint64>>;
// Every table of the file with its number of rows, by name.
std::optional<TableCounts> CountRows(sqlite3* db, QString& error);
// The copy passes the integrity check (or the quicker check that skips the indexes' contents)
// and, when `expected` is given, holds those rows.
bool Verify(const QString& copy, const TableCounts* expected, QString& error, bool quick = false);

// Copies a database page by page through SQLite's online backup, in one read transaction of
// the source, so the copy is consistent while other programs go on using the source. The
// target is created or overwritten.
bool CopyDatabase(const QString& source, const QString& target, QString& error);

// Gives the copy the original's permissions and group (the folder may be shared by several
// users) and puts it on disk.
bool Flush(const QString& copy, const QString& original, QString& error);
void FlushFolder(const QString& folder);
// Gives `from` the name `to` in one step, replacing what had that name, and puts the folder's
// new entry on disk.
bool RenameDurably(const QString& from, const QString& to, QString& error);

// A rollback journal that still holds a transaction, or a write-ahead log with pages in it,
// belongs to the file as it is now; it would be replayed onto a new file and damage it.
bool HasPendingChanges(const QString& dataFile);

// Removes a copy (and its journals) when the work ends early, unless it ends as a kill would.
class TempFile
{
public:
    explicit TempFile(QString path) : m_path(std::move(path)) {}
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    bool RemoveAll() const;
    void Keep() { m_armed = false; }

private:
    QString m_path;
    bool m_armed = true;
};

} // namespace vantrel::filesafety
