#include "data/datafilekind.h"

#include "data/adodatabase.h"
#include "data/dbcatalogue.h"
#include "data/jetsql.h"
#include "data/schema.h"
#include "data/sqlite/fileerrors.h"
#include "data/sqlite/filesafety.h"
#include "data/sqlite/sqliteconnection.h"
#include "data/sqlite/sqlitefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The tables every version of the data file has had.
constexpr const char* kCoreTables[] = {"client", "snnumber"};

} // namespace

bool HoldsDataTables(DataFileKind kind)
{
    return kind == DataFileKind::Ours || kind == DataFileKind::Old;
}

namespace {

const schema::Table* SchemaTable(const QString& name)
{
    for (const schema::Table& table : schema::DataTables())
        if (name.compare(QLatin1StringView(table.name), Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

// A table that has a data table's name and no column that table never had: this program made
// it. Another program's table of a common name ("city", "product") declares columns of its own.
bool MadeByUs(sqlite3* db, const schema::Table& table)
{
    int code = SQLITE_OK;
    const QByteArray sql = "PRAGMA table_info(\"" + QByteArray(table.name) + "\")";
    const vantrel::detail::Statement info = vantrel::detail::Prepare(db, sql, code);
    if (!info)
        return false;
    int columns = 0;
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        ++columns;
        const QString name =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
        bool known = false;
        for (const schema::Column& column : table.columns)
            known = known || name.compare(QLatin1StringView(column.name), Qt::CaseInsensitive) == 0;
        if (!known)
            return false;
    }
    return columns > 0;
}

// The columns a backend keeps beside the program's (the initials of searched names) are not
// another program's.
bool MadeByUs(vantrel::db::Catalogue& catalogue, const schema::Table& table)
{
    const std::vector<vantrel::db::ColumnSpec> columns =
        catalogue.Columns(QLatin1StringView(table.name));
    for (const vantrel::db::ColumnSpec& stored : columns) {
        bool known =
            stored.name.endsWith(QLatin1StringView(jetsql::kInitialsSuffix), Qt::CaseInsensitive);
        for (const schema::Column& column : table.columns)
            known = known ||
                    stored.name.compare(QLatin1StringView(column.name), Qt::CaseInsensitive) == 0;
        if (!known)
            return false;
    }
    return !columns.empty();
}

// What a database of a server holds, by the same rules as a file.
DataFileKind InspectTables(vantrel::db::Catalogue& catalogue)
{
    const QStringList names = catalogue.Tables();
    if (names.isEmpty())
        return DataFileKind::Empty;
    int core = 0;
    for (const char* table : kCoreTables)
        core += names.contains(QLatin1StringView(table), Qt::CaseInsensitive) ? 1 : 0;
    if (core == int(std::size(kCoreTables)))
        return DataFileKind::Ours;
    for (const QString& name : names)
        if (const schema::Table* table = SchemaTable(name); table && MadeByUs(catalogue, *table))
            return DataFileKind::Old;
    return DataFileKind::Foreign;
}

bool IsCorruption(int code)
{
    return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

} // namespace

DataFileKind InspectDataFile(sqlite3* db)
{
    int code = SQLITE_OK;
    const vantrel::detail::Statement statement = vantrel::detail::Prepare(
        db,
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
        "ESCAPE '\\'",
        code);
    // A file that is no database fails here ("file is not a database"); one whose first pages
    // are damaged too.
    if (!statement)
        return (code & 0xff) == SQLITE_CORRUPT ? DataFileKind::Damaged : DataFileKind::Foreign;
    int tables = 0;
    int core = 0;
    QStringList names;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        ++tables;
        const QString name = QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)));
        names << name;
        for (const char* table : kCoreTables)
            if (name.compare(QLatin1StringView(table), Qt::CaseInsensitive) == 0)
                ++core;
    }
    if (code != SQLITE_DONE)
        return (code & 0xff) == SQLITE_CORRUPT ? DataFileKind::Damaged : DataFileKind::Foreign;
    if (tables == 0)
        return DataFileKind::Empty;
    if (core == int(std::size(kCoreTables)))
        return DataFileKind::Ours;
    for (const QString& name : std::as_const(names)) {
        const schema::Table* table = SchemaTable(name);
        if (table && MadeByUs(db, *table))
            return DataFileKind::Old;
    }
    return DataFileKind::Foreign;
}

bool HasDatabaseHeader(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16);
}

namespace {

// The result of reading the file's table list.
int ReadError(const QString& path)
{
    QString error;
    const vantrel::filesafety::Database db =
        vantrel::filesafety::OpenFile(path, SQLITE_OPEN_READONLY, error);
    if (!db)
        return SQLITE_CANTOPEN;
    return sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
}

// A database that cannot be read for what it holds, not for being busy or out of reach
// (a damaged header reads as "unsupported file format").
bool Unreadable(int code)
{
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_NOMEM:
    case SQLITE_READONLY:
        return false;
    default:
        return true;
    }
}

} // namespace

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
    DataFileKind kind = InspectDataFile(db);
    sqlite3_close(db);
    // SQLite says "not a database" also of a database whose first page is damaged: the header
    // tells the two apart.
    if (kind == DataFileKind::Foreign && HasDatabaseHeader(path) && Unreadable(ReadError(path)))
        kind = DataFileKind::Damaged;
    return kind;
}

DataFileKind InspectDataFile(const CADODatabase& database)
{
    const auto connection = database.GetActiveConnection();
    if (!database.IsOpen() || !connection)
        return DataFileKind::Foreign;
    if (sqlite3* db = vantrel::sqlite::HandleOf(connection.get()))
        return InspectDataFile(db);
    return InspectTables(connection->Schema());
}

bool PrepareDataFile(const QString& path, QString* error)
{
    switch (InspectDataFile(path)) {
    case DataFileKind::Ours:
    case DataFileKind::Old:
        return true;
    case DataFileKind::Foreign:
    case DataFileKind::Damaged:
        if (error)
            *error = u"不是本软件的数据文件：%1"_s.arg(QDir::toNativeSeparators(path));
        return false;
    case DataFileKind::Empty:
        break;
    }
    CADODatabase database;
    if (!database.Open(CADODatabase::ConnectionStringFor(path))) {
        if (error)
            *error = FileFailure(int(database.GetLastErrorCode()), 0, path);
        return false;
    }
    return UpgradeDatabase(database, error);
}

DataFileKind CheckDataFile(const QString& path, QString* reason)
{
    const auto damaged = [&] {
        if (reason)
            *reason = FileFailure(SQLITE_CORRUPT, 0, path);
        return DataFileKind::Damaged;
    };
    const DataFileKind kind = InspectDataFile(path);
    if (kind == DataFileKind::Damaged)
        return damaged();
    if (!HoldsDataTables(kind))
        return kind;
    QString error;
    const vantrel::filesafety::Database db = vantrel::filesafety::OpenFile(
        path, QFileInfo(path).isWritable() ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, error);
    if (!db)
        return kind;
    int code = SQLITE_OK;
    const vantrel::detail::Statement check =
        vantrel::detail::Prepare(db.get(), "PRAGMA quick_check", code);
    if (!check)
        return IsCorruption(code) ? damaged() : kind;
    code = sqlite3_step(check.get());
    if (code != SQLITE_ROW)
        return IsCorruption(code) ? damaged() : kind; // busy, or not ours to roll back: not damage
    if (qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)), "ok") != 0)
        return damaged();
    return kind;
}

WriteAccess ProbeWriteAccess(const CADODatabase& database)
{
    const auto connection = database.GetActiveConnection();
    if (!database.IsOpen() || !connection)
        return WriteAccess::Writable; // nothing to say: the sign-in reports a closed file
    sqlite3* db = vantrel::sqlite::HandleOf(connection.get());
    if (!db)
        return WriteAccess::Writable; // a server takes or refuses each write itself
    const QString folder = QFileInfo(connection->Source()).absolutePath();
    if (sqlite3_db_readonly(db, "main") == 1 ||
        ::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return WriteAccess::ReadOnly;
    // The exclusive lock is what every save needs in the end: readers that hold the file keep
    // it away as surely as a writer does. Taken and given back at once; nothing is written.
    const int code = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return WriteAccess::Writable;
    }
    if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED)
        return WriteAccess::Locked;
    return (code & 0xff) == SQLITE_READONLY ? WriteAccess::ReadOnly : WriteAccess::Writable;
}
