#include "data/backup.h"

#include "data/datafilekind.h"
#include "data/datafileusers.h"
#include "data/filesafety.h"

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
        error = u"cannot remove %1"_s.arg(part);
        return false;
    }
    const auto stop = [&] {
        temp.Keep();
        error = u"stopped"_s;
        return false;
    };
    if (!CopyDatabase(source, part, error))
        return false;
    if (!reached(CopyStep::Copied))
        return stop();
    if (!Verify(part, nullptr, error, true))
        return false;
    if (InspectDataFile(part) != DataFileKind::Ours) {
        error = u"the copy holds no data tables"_s;
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
        return failed(u"%1 does not exist"_s.arg(dataFile));
    if (!QDir().mkpath(folder))
        return failed(u"cannot make the folder %1"_s.arg(folder));
    // Copies that a killed backup left under their passing names go first.
    const QDir dir(folder);
    for (const QString& stale :
         dir.entryList({BaseName(dataFile) + u"-*.db.part*"_s}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(stale));
    const QString target = dir.absoluteFilePath(BackupFileName(dataFile, when));
    if (QFileInfo::exists(target))
        return failed(u"%1 exists already"_s.arg(target));
    if (!WriteCheckedCopy(dataFile, target, dataFile, why, probe))
        return failed(why);
    if (probe && !probe(CopyStep::Replaced))
        return failed(u"stopped"_s);
    if (written)
        *written = target;
    return true;
}

bool CheckBackup(const QString& backup, QString* error)
{
    QString why;
    const bool usable = [&] {
        if (!QFileInfo(backup).isFile()) {
            why = u"%1 does not exist"_s.arg(backup);
            return false;
        }
        if (!Verify(backup, nullptr, why))
            return false;
        if (InspectDataFile(backup) != DataFileKind::Ours) {
            why = u"%1 is not a data file of this program"_s.arg(backup);
            return false;
        }
        return true;
    }();
    if (!usable && error)
        *error = why;
    return usable;
}

QString BeforeRestorePath(const QString& dataFile)
{
    return dataFile + u".before-restore"_s;
}

RestoreResult RestoreDataFile(const QString& backup, const QString& dataFile, DataFileUsers& users,
                              QString* error, const CopyProbe& probe)
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
        return failed(u"%1 does not exist"_s.arg(dataFile));
    // The real file, also when the name is a symbolic link, so the link stays a link.
    const QString path = info.canonicalFilePath();
    if (!users.TryLockExclusive())
        return RestoreResult::InUse;
    if (HasPendingChanges(path))
        return failed(u"%1 has changes in a journal"_s.arg(path));

    // The backup's copy waits beside the data file, checked and on disk ...
    const QString incoming = path + u".restore"_s;
    TempFile temp(incoming);
    if (!WriteCheckedCopy(backup, incoming, path, why, probe)) {
        if (why == u"stopped"_s)
            temp.Keep();
        return failed(why);
    }
    // ... the file as it is now is kept whole ...
    if (!WriteCheckedCopy(path, BeforeRestorePath(path), path, why, {}))
        return failed(why);
    if (!reached(CopyStep::Saved)) {
        temp.Keep();
        return failed(u"stopped"_s);
    }
    // ... and the copy takes the data file's place in one step.
    if (!RenameDurably(incoming, path, why))
        return failed(why);
    temp.Keep();
    if (!reached(CopyStep::Replaced))
        return failed(u"stopped"_s);
    return RestoreResult::Restored;
}
