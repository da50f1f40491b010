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

// "<data file>.before-restore": where a restore keeps the file it replaces.
QString BeforeRestorePath(const QString& dataFile);

// Puts a checked backup in the data file's place. Needs the data file to itself (`users` gets
// the exclusive lock, which it keeps); the file as it was is kept as BeforeRestorePath. The
// program must not use its open connections afterwards: they still see the old file.
RestoreResult RestoreDataFile(const QString& backup, const QString& dataFile, DataFileUsers& users,
                              QString* error = nullptr, const CopyProbe& probe = {});
