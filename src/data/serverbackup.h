#pragma once

#include "data/backup.h"
#include "data/datacopy.h"

#include <QDateTime>
#include <QString>

namespace vantrel::db {

class Connection;
class Workstations;

// Backups of the data a server keeps, as data files (backup.h): a backup passes CheckBackup,
// opens as a data file, and is the way from a server back to a single file.

// The name the server's backups are named after as a data file's are (BackupFileName,
// BackupsIn): its database's name, "sales.db" for database "sales"; "server.db" where the
// connection is no server's.
QString ServerBackupBase(Connection& server);

// Writes the server's data as one snapshot (a read-only repeatable-read transaction, so that
// what others save meanwhile is not in it) into a new data file at `path`: first under a
// passing name, checked and put on disk, then renamed. A file of that name is never replaced.
// `probe` is called before each table is read (datacopy.h).
bool SnapshotServer(Connection& server, const QString& path, QString* error = nullptr,
                    const TableProbe& probe = {});

// A snapshot into the folder (made when missing), named BackupFileName(ServerBackupBase, when);
// its path in `written`.
bool BackupServer(Connection& server, const QString& folder, const QDateTime& when,
                  QString* written, QString* error = nullptr, const TableProbe& probe = {});

// Replaces the server's data by a backup's, in one transaction, the counters taken from the
// backup. The backup is checked first as for a data file; the work needs the data to itself
// (InUse, with `error` saying how many other workstations are at work, while it cannot have
// it). The data as they were are kept first as a snapshot at `keepAs` (BeforeRestorePath of
// the server's name; never an existing file). `report`: what the server holds afterwards.
RestoreResult RestoreServer(const QString& backup, Connection& server, Workstations& workstations,
                            const QString& keepAs, QString* error = nullptr,
                            CopyReport* report = nullptr);

} // namespace vantrel::db
