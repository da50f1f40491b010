#include "data/sqlite/sqlitefilemaintenance.h"

namespace vantrel::sqlite {
namespace {

class SqliteFileMaintenance final : public db::FileMaintenance
{
public:
    CompactionResult Compact(const QString& dataFile, DataFileUsers& users,
                             QString* error) const override
    {
        return CompactDataFile(dataFile, users, error);
    }
    bool Backup(const QString& dataFile, const QString& folder, const QDateTime& when,
                QString* written, QString* error) const override
    {
        return BackupDataFile(dataFile, folder, when, written, error);
    }
    RestoreResult Restore(const QString& backup, const QString& dataFile, DataFileUsers& users,
                          const QString& keepAs, ReplacedFile replaced,
                          QString* error) const override
    {
        return RestoreDataFile(backup, dataFile, users, keepAs, error, {}, replaced);
    }
    DataFileKind Check(const QString& dataFile, QString* reason) const override
    {
        return CheckDataFile(dataFile, reason);
    }
};

} // namespace

const db::FileMaintenance& FileMaintenance()
{
    static const SqliteFileMaintenance maintenance;
    return maintenance;
}

} // namespace vantrel::sqlite
