#include "app/serverdatabase.h"

#include "data/adodatabase.h"
#include "data/datafilekind.h"
#include "data/schema.h"

ServerDatabase PrepareServerDatabase(CADODatabase& database, QString* error)
{
    switch (InspectDataFile(database)) {
    case DataFileKind::Ours:
        return ServerDatabase::Ready;
    case DataFileKind::Old:
        return ServerDatabase::Old;
    case DataFileKind::Empty:
        return UpgradeDatabase(database, error) ? ServerDatabase::Ready : ServerDatabase::NotSetUp;
    case DataFileKind::Damaged:
    case DataFileKind::Foreign:
        break;
    }
    return ServerDatabase::Foreign;
}
