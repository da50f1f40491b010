#pragma once

#include "data/backup.h"
#include "data/compaction.h"
#include "data/datafilekind.h"

#include <QDateTime>
#include <QString>

class DataFileUsers;

namespace vantrel::db {

// The care of a backend that keeps the data in a file of its own: compaction, backup and
// restore of the file, and the check of every page (compaction.h, backup.h and
// datafilekind.h say what each does). A server keeps its data itself and offers none of them.
class FileMaintenance
{
public:
    virtual ~FileMaintenance() = default;

    virtual CompactionResult Compact(const QString& dataFile, DataFileUsers& users,
                                     QString* error) const = 0;
    virtual bool Backup(const QString& dataFile, const QString& folder, const QDateTime& when,
                        QString* written, QString* error) const = 0;
    virtual RestoreResult Restore(const QString& backup, const QString& dataFile,
                                  DataFileUsers& users, const QString& keepAs,
                                  ReplacedFile replaced, QString* error) const = 0;
    virtual DataFileKind Check(const QString& dataFile, QString* reason) const = 0;
};

// The file maintenance of the backend a connection string names; null when it keeps no file.
const FileMaintenance* FileMaintenanceFor(const QString& connectionString);

} // namespace vantrel::db
