#include "data/compaction.h"

#include "data/datafileusers.h"
#include "data/sqlite/fileerrors.h"
#include "data/sqlite/filesafety.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

using namespace vantrel::filesafety;

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
        // Only the copy is written: a full disk is the copy's folder.
        const int code = sqlite3_extended_errcode(source);
        const int systemError = sqlite3_system_errno(source);
        error = IsDiskFull(code, systemError) ? FileFailure(code, systemError, target)
                                              : LastError(source);
        return false;
    }
    return true;
}

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
    const QString stopped = u"操作已中止"_s;

    const QFileInfo info(dataFile);
    if (!info.isFile())
        return failed(u"文件不存在：%1"_s.arg(QDir::toNativeSeparators(dataFile)));
    // The real file, also when the name is a symbolic link, so the link stays a link.
    const QString path = info.canonicalFilePath();
    if (!users.TryLockExclusive())
        return CompactionResult::InUse;
    if (!reached(CompactionStep::Locked))
        return failed(stopped);
    if (!QFileInfo(path).isWritable())
        return failed(u"文件只读，无法写入：%1"_s.arg(QDir::toNativeSeparators(path)));

    const QString tempPath = CompactionTempPath(path);
    TempFile temp(tempPath);
    if (!temp.RemoveAll())
        return failed(u"无法删除文件：%1"_s.arg(QDir::toNativeSeparators(tempPath)));
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
        if (!Verify(tempPath, &*counts, why, true))
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
        return failed(u"数据文件还有未写完的修改：%1"_s.arg(QDir::toNativeSeparators(path)));
    if (!reached(CompactionStep::Released)) {
        temp.Keep();
        return failed(stopped);
    }

    if (!RenameDurably(tempPath, path, why))
        return failed(why);
    temp.Keep();
    if (!reached(CompactionStep::Replaced))
        return failed(stopped);
    return CompactionResult::Compacted;
}
