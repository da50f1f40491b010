#include "data/datafilekind.h"

#include "data/adodatabase.h"
#include "data/schema.h"
#include "data/sqliteconnection.h"

#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// The tables every version of the data file has had.
constexpr const char* kCoreTables[] = {"client", "snnumber"};

} // namespace

DataFileKind InspectDataFile(sqlite3* db)
{
    int code = SQLITE_OK;
    const vantrel::detail::Statement statement = vantrel::detail::Prepare(
        db,
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
        "ESCAPE '\\'",
        code);
    // A file that is no database fails here ("file is not a database").
    if (!statement)
        return DataFileKind::Foreign;
    int tables = 0;
    int core = 0;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        ++tables;
        const QString name = QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)));
        for (const char* table : kCoreTables)
            if (name.compare(QLatin1StringView(table), Qt::CaseInsensitive) == 0)
                ++core;
    }
    if (code != SQLITE_DONE)
        return DataFileKind::Foreign;
    if (tables == 0)
        return DataFileKind::Empty;
    return core == int(std::size(kCoreTables)) ? DataFileKind::Ours : DataFileKind::Foreign;
}

DataFileKind InspectDataFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return DataFileKind::Foreign;
    sqlite3* db = nullptr;
    const QByteArray name = path.toUtf8();
    // A save cut short leaves a journal that only a writer may roll back; a read-only look
    // would take the file for a damaged one.
    const int mode = QFileInfo(path).isWritable() ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(name.constData(), &db, mode, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return DataFileKind::Foreign;
    }
    sqlite3_busy_timeout(db, 5000);
    const DataFileKind kind = InspectDataFile(db);
    sqlite3_close(db);
    return kind;
}

DataFileKind InspectDataFile(const CADODatabase& database)
{
    const auto connection = database.GetActiveConnection();
    return database.IsOpen() && connection ? InspectDataFile(connection->Handle())
                                           : DataFileKind::Foreign;
}

bool PrepareDataFile(const QString& path, QString* error)
{
    switch (InspectDataFile(path)) {
    case DataFileKind::Ours:
        return true;
    case DataFileKind::Foreign:
        if (error)
            *error = path + u" is not a data file of this program"_s;
        return false;
    case DataFileKind::Empty:
        break;
    }
    CADODatabase database;
    if (!database.Open(CADODatabase::ConnectionStringFor(path))) {
        if (error)
            *error = database.GetLastError();
        return false;
    }
    return UpgradeDatabase(database, error);
}
