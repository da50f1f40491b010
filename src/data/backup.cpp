#include "data/backup.h"

#include "data/datafilekind.h"
#include "data/datafileusers.h"
#include "data/sqlite/fileerrors.h"
#include "data/sqlite/filesafety.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
using namespace vantrel::filesafety;

namespace {

const QString kStampFormat = u"yyyyMMdd-HHmmss"_s;
const QString kStopped = u"操作已中止"_s;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString BaseName(const QString& dataFile)
{
    return QFileInfo(dataFile).completeBaseName();
}

// The time in a backup's name; invalid for any other file.
QDateTime StampOf(const QString& fileName, const QString& dataFile)
{
    static const QRegularExpression pattern(u"^(.+)-(\\d{8}-\\d{6})\\.db$"_s);
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch() || match.captured(1) != BaseName(dataFile))
        return {};
    return QDateTime::fromString(match.captured(2), kStampFormat);
}

// Writes a checked copy of `source` under `target`: first under a passing name, then renamed.
// The quick check of a page-for-page copy finds what went wrong on the way; a backup to be
// restored has passed the full check before it is copied.
bool WriteCheckedCopy(const QString& source, const QString& target, const QString& permissionsOf,
                      QString& error, const CopyProbe& probe)
{
    const auto reached = [&](CopyStep step) { return !probe || probe(step); };
    const QString part = target + u".part"_s;
    TempFile temp(part);
    if (!temp.RemoveAll()) {
        error = u"无法删除文件：%1"_s.arg(Native(part));
        return false;
    }
    const auto stop = [&] {
        temp.Keep();
        error = kStopped;
        return false;
    };
    if (!CopyDatabase(source, part, error))
        return false;
    if (!reached(CopyStep::Copied))
        return stop();
    if (!Verify(part, nullptr, error, true)) {
        // A page-for-page copy of a damaged file is damaged: the file is to blame, not the copy.
        QString sourceError;
        if (!Verify(source, nullptr, sourceError, true))
            error = u"数据文件已损坏：%1"_s.arg(Native(source));
        return false;
    }
    if (!HoldsDataTables(InspectDataFile(part))) {
        error = u"不是本软件的数据文件：%1"_s.arg(Native(source));
        return false;
    }
    if (!reached(CopyStep::Verified))
        return stop();
    if (!Flush(part, permissionsOf, error))
        return false;
    if (!reached(CopyStep::Flushed))
        return stop();
    if (!RenameDurably(part, target, error))
        return false;
    temp.Keep();
    return true;
}

} // namespace

QString BackupFileName(const QString& dataFile, const QDateTime& when)
{
    return BaseName(dataFile) + u'-' + when.toString(kStampFormat) + u".db"_s;
}

QStringList BackupsIn(const QString& folder, const QString& dataFile)
{
    std::vector<std::pair<QDateTime, QString>> found;
    const QStringList names =
        QDir(folder).entryList({BaseName(dataFile) + u"-*.db"_s}, QDir::Files);
    for (const QString& name : names) {
        const QDateTime stamp = StampOf(name, dataFile);
        if (stamp.isValid())
            found.emplace_back(stamp, QDir(folder).filePath(name));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    QStringList paths;
    for (const auto& entry : found)
        paths << entry.second;
    return paths;
}

QDateTime LastBackupTime(const QString& folder, const QString& dataFile)
{
    const QStringList backups = BackupsIn(folder, dataFile);
    return backups.isEmpty() ? QDateTime()
                             : StampOf(QFileInfo(backups.first()).fileName(), dataFile);
}

void PruneBackups(const QString& folder, const QString& dataFile, int keep)
{
    const QStringList backups = BackupsIn(folder, dataFile);
    for (qsizetype i = std::max(keep, 0); i < backups.size(); ++i)
        QFile::remove(backups[i]);
}

bool BackupDataFile(const QString& dataFile, const QString& folder, const QDateTime& when,
                    QString* written, QString* error, const CopyProbe& probe)
{
    QString why;
    const auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!QFileInfo(dataFile).isFile())
        return failed(u"文件不存在：%1"_s.arg(Native(dataFile)));
    if (!QDir().mkpath(folder))
        return failed(u"无法建立文件夹：%1"_s.arg(Native(folder)));
    // Copies that a killed backup left under their passing names go first.
    const QDir dir(folder);
    for (const QString& stale :
         dir.entryList({BaseName(dataFile) + u"-*.db.part*"_s}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(stale));
    const QString target = dir.absoluteFilePath(BackupFileName(dataFile, when));
    if (QFileInfo::exists(target))
        return failed(u"文件已存在：%1"_s.arg(Native(target)));
    if (!WriteCheckedCopy(dataFile, target, dataFile, why, probe))
        return failed(why);
    if (probe && !probe(CopyStep::Replaced))
        return failed(kStopped);
    if (written)
        *written = target;
    return true;
}

bool CheckBackup(const QString& backup, QString* error)
{
    QString why;
    const bool usable = [&] {
        if (!QFileInfo(backup).isFile()) {
            why = u"文件不存在：%1"_s.arg(Native(backup));
            return false;
        }
        if (!Verify(backup, nullptr, why))
            return false;
        if (!HoldsDataTables(InspectDataFile(backup))) {
            why = u"不是本软件的数据文件：%1"_s.arg(Native(backup));
            return false;
        }
        return true;
    }();
    if (!usable && error)
        *error = why;
    return usable;
}

namespace {

// "<base>-<what>-<stamp>.db" beside the data file, the first such name that is free.
QString KeptFilePath(const QString& dataFile, const QString& what, const QDateTime& when)
{
    const QFileInfo info(dataFile);
    const QString stem = BaseName(dataFile) + u'-' + what + u'-' + when.toString(kStampFormat);
    QString path = info.dir().absoluteFilePath(stem + u".db"_s);
    for (int n = 2; QFileInfo::exists(path) || QFileInfo::exists(path + u".part"_s); ++n)
        path = info.dir().absoluteFilePath(stem + u'-' + QString::number(n) + u".db"_s);
    return path;
}

// Keeps a damaged file exactly as it is, with the journal that belongs to it.
bool KeepAsFound(const QString& path, const QString& keepAs, QString& error)
{
    const QString part = keepAs + u".part"_s;
    TempFile temp(part);
    temp.RemoveAll();
    if (!QFile::copy(path, part)) {
        error = u"无法复制文件 %1 到 %2"_s.arg(Native(path), Native(keepAs));
        return false;
    }
    if (!Flush(part, path, error) || !RenameDurably(part, keepAs, error))
        return false;
    temp.Keep();
    for (const QString& suffix : {u"-journal"_s, u"-wal"_s}) {
        if (QFileInfo::exists(path + suffix) &&
            !RenameDurably(path + suffix, keepAs + suffix, error))
            return false;
    }
    QFile::remove(path + u"-shm"_s);
    return true;
}

} // namespace

QString BeforeRestorePath(const QString& dataFile, const QDateTime& when)
{
    return KeptFilePath(dataFile, u"before-restore"_s, when);
}

QString DamagedFilePath(const QString& dataFile, const QDateTime& when)
{
    return KeptFilePath(dataFile, u"damaged"_s, when);
}

QString NewestSoundBackup(const QStringList& folders, const QString& dataFile)
{
    std::vector<std::pair<QDateTime, QString>> found;
    QStringList seen;
    for (const QString& folder : folders) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || seen.contains(canonical))
            continue;
        seen << canonical;
        for (const QString& backup : BackupsIn(folder, dataFile))
            found.emplace_back(StampOf(QFileInfo(backup).fileName(), dataFile), backup);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    for (const auto& [stamp, backup] : found)
        if (CheckBackup(backup))
            return backup;
    return {};
}

RestoreResult RestoreDataFile(const QString& backup, const QString& dataFile, DataFileUsers& users,
                              const QString& keepAs, QString* error, const CopyProbe& probe,
                              ReplacedFile replaced)
{
    QString why;
    const auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return RestoreResult::Failed;
    };
    const auto reached = [&](CopyStep step) { return !probe || probe(step); };
    if (!CheckBackup(backup, &why))
        return failed(why);
    const QFileInfo info(dataFile);
    if (!info.isFile())
        return failed(u"文件不存在：%1"_s.arg(Native(dataFile)));
    if (keepAs.isEmpty() || QFileInfo::exists(keepAs))
        return failed(u"文件已存在：%1"_s.arg(Native(keepAs)));
    // The real file, also when the name is a symbolic link, so the link stays a link.
    const QString path = info.canonicalFilePath();
    if (!users.TryLockExclusive())
        return RestoreResult::InUse;
    if (replaced == ReplacedFile::Sound && HasPendingChanges(path))
        return failed(u"数据文件还有未写完的修改，请先关闭使用它的程序：%1"_s.arg(Native(path)));

    // The backup's copy waits beside the data file, checked and on disk ...
    const QString incoming = path + u".restore"_s;
    TempFile temp(incoming);
    if (!WriteCheckedCopy(backup, incoming, path, why, probe)) {
        if (why == kStopped)
            temp.Keep();
        return failed(why);
    }
    // ... the file as it is now is kept whole ...
    const bool kept = replaced == ReplacedFile::Sound
                          ? WriteCheckedCopy(path, keepAs, path, why, {})
                          : KeepAsFound(path, keepAs, why);
    if (!kept)
        return failed(why);
    if (!reached(CopyStep::Saved)) {
        temp.Keep();
        return failed(kStopped);
    }
    // ... and the copy takes the data file's place in one step.
    if (!RenameDurably(incoming, path, why))
        return failed(why);
    temp.Keep();
    if (!reached(CopyStep::Replaced))
        return failed(kStopped);
    return RestoreResult::Restored;
}
