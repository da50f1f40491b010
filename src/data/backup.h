#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class DataFileUsers;

// Copies of the data file taken while it is in use, and their return. A copy is written under
// a passing name first, checked and put on disk, and only then given its own name, so a
// backup that exists is always whole; the data file itself is only ever replaced in one
// rename by a checked copy.

// "<data file's base name>-yyyyMMdd-HHmmss.db" ("sale-20261208-091500.db").
QString BackupFileName(const QString& dataFile, const QDateTime& when);

// The backups of the data file in a folder, the newest first (by the time in their names).
QStringList BackupsIn(const QString& folder, const QString& dataFile);
// When the newest of them was taken; invalid when there is none.
QDateTime LastBackupTime(const QString& folder, const QString& dataFile);
// Removes all but the newest `keep` backups of the data file from the folder.
void PruneBackups(const QString& folder, const QString& dataFile, int keep);

// The points between the steps of a backup or a restore, in order. For tests that stop the
// work at each of them as a kill would.
enum class CopyStep {
    Copied,   // the copy is written under its passing name
    Verified, // the copy is checked
    Flushed,  // the copy is on disk
    Saved,    // restore: the current file is kept beside it
    Replaced, // the copy has its final name
};
using CopyProbe = std::function<bool(CopyStep)>;

// Writes a consistent copy of the data file into the folder (made when missing), through
// SQLite's online backup, so other programs may go on using the file. Gives the copy's path
// back in `written`. False with the reason in `error`; nothing is left under the final name.
bool BackupDataFile(const QString& dataFile, const QString& folder, const QDateTime& when,
                    QString* written, QString* error = nullptr, const CopyProbe& probe = {});

// Whether a file can be restored: it passes the integrity check and holds the data tables.
bool CheckBackup(const QString& backup, QString* error = nullptr);

enum class RestoreResult {
    Restored,
    InUse,  // another program has the data file open
    Failed, // nothing changed; `error` says why
};

// Where a restore keeps the file it replaces, beside it and under a name of its own, so that
// no restore ever overwrites an earlier kept file: "<base name>-before-restore-yyyyMMdd-HHmmss.db"
// ("sale-before-restore-20261208-091500.db"), with "-2", "-3", ... before ".db" when that name
// is taken. These are no backups: pruning and the offer of a backup leave them alone.
QString BeforeRestorePath(const QString& dataFile, const QDateTime& when);
// Where a damaged data file is kept when a backup takes its place: "<base name>-damaged-...db".
QString DamagedFilePath(const QString& dataFile, const QDateTime& when);

// The newest backup in the folders that passes its check; empty when there is none.
QString NewestSoundBackup(const QStringList& folders, const QString& dataFile);

// What the file a restore replaces is.
enum class ReplacedFile {
    Sound,   // kept as a checked copy
    Damaged, // kept byte for byte, with its journal, as it was found
};

// Puts a checked backup in the data file's place. Needs the data file to itself (`users` gets
// the exclusive lock, which it keeps); the file as it was is kept as `keepAs` (made with
// BeforeRestorePath or DamagedFilePath; a file of that name is never replaced). The program
// must not use its open connections afterwards: they still see the old file.
RestoreResult RestoreDataFile(const QString& backup, const QString& dataFile, DataFileUsers& users,
                              const QString& keepAs, QString* error = nullptr,
                              const CopyProbe& probe = {},
                              ReplacedFile replaced = ReplacedFile::Sound);
