#include "data/sqlite/filesafety.h"

#include "data/sqlite/fileerrors.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace vantrel::filesafety {

Database OpenFile(const QString& path, int flags, QString& error)
{
    sqlite3* handle = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags, nullptr);
    Database db(handle);
    if (code != SQLITE_OK) {
        error = FileFailure(code, handle ? sqlite3_system_errno(handle) : 0, path);
        return nullptr;
    }
    sqlite3_busy_timeout(handle, kBusyMilliseconds);
    return db;
}

QString LastError(sqlite3* db)
{
    return FileFailure(db);
}

bool Exec(sqlite3* db, const char* sql, QString& error)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    error = LastError(db);
    return false;
}

using TableCounts = std::vector<std::pair<QString, qint64>>;

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

bool Verify(const QString& copy, const TableCounts* expected, QString& error, bool quick)
{
    Database db = OpenFile(copy, SQLITE_OPEN_READONLY, error);
    if (!db)
        return false;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), quick ? "PRAGMA quick_check" : "PRAGMA integrity_check", -1,
                           &raw, nullptr) != SQLITE_OK) {
        error = LastError(db.get());
        return false;
    }
    Statement check(raw);
    if (sqlite3_step(check.get()) != SQLITE_ROW ||
        qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)), "ok") != 0) {
        error = FileFailure(SQLITE_CORRUPT, 0, copy);
        return false;
    }
    if (!expected)
        return true;
    const std::optional<TableCounts> counts = CountRows(db.get(), error);
    if (!counts)
        return false;
    if (expected && *counts != *expected) {
        error = u"副本与原文件的记录不一致：%1"_s.arg(QDir::toNativeSeparators(copy));
        return false;
    }
    return true;
}

bool Flush(const QString& copy, const QString& original, QString& error)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(original).constData(), &status) != 0) {
        error = u"无法读取文件的权限：%1"_s.arg(QDir::toNativeSeparators(original));
        return false;
    }
    const int fd = ::open(QFile::encodeName(copy).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = u"文件无法打开：%1"_s.arg(QDir::toNativeSeparators(copy));
        return false;
    }
    const bool permitted = ::fchmod(fd, status.st_mode & 07777) == 0;
    if (::fchown(fd, uid_t(-1), status.st_gid) != 0) {
        // Not the user's group to give: the file keeps the user's own.
    }
    const bool synced = ::fsync(fd) == 0;
    const int why = errno;
    ::close(fd);
    if (!synced)
        error = FileFailure(SQLITE_IOERR, why, copy);
    else if (!permitted)
        error = u"无法设置文件的权限：%1"_s.arg(QDir::toNativeSeparators(copy));
    return synced && permitted;
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

bool RenameDurably(const QString& from, const QString& to, QString& error)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        error = u"无法将文件 %1 改名为 %2"_s.arg(QDir::toNativeSeparators(from),
                                                 QDir::toNativeSeparators(to));
        return false;
    }
    FlushFolder(QFileInfo(to).absolutePath());
    return true;
}

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

bool CopyDatabase(const QString& source, const QString& target, QString& error)
{
    // Opened for writing where allowed: a save that a crash cut short is rolled back first.
    Database from = OpenFile(
        source, QFileInfo(source).isWritable() ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY,
        error);
    Database to =
        from ? OpenFile(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error) : nullptr;
    if (!to)
        return false;
    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup) {
        error = LastError(to.get());
        return false;
    }
    // All pages in one step: the source's read lock is held from the first page to the last.
    int code = SQLITE_OK;
    for (int attempt = 0; attempt < 100; ++attempt) {
        code = sqlite3_backup_step(backup, -1);
        if (code != SQLITE_BUSY && code != SQLITE_LOCKED)
            break;
        sqlite3_sleep(50);
    }
    const int finished = sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE || finished != SQLITE_OK) {
        const int failure = code != SQLITE_DONE ? code : finished;
        // Only the copy is written: a full disk is the copy's; anything else is the source's.
        const int systemError = sqlite3_system_errno(to.get());
        error = IsDiskFull(failure, systemError) ? FileFailure(failure, systemError, target)
                                                 : FileFailure(failure, 0, source);
        return false;
    }
    return true;
}

TempFile::~TempFile()
{
    if (m_armed)
        RemoveAll();
}

bool TempFile::RemoveAll() const
{
    bool removed = true;
    for (const QString& suffix : {u""_s, u"-journal"_s, u"-wal"_s, u"-shm"_s}) {
        const QString name = m_path + suffix;
        if (QFileInfo::exists(name) && !QFile::remove(name))
            removed = false;
    }
    return removed;
}

} // namespace vantrel::filesafety
