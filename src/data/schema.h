#pragma once

#include <QString>
#include <QStringList>

#include <span>

class CADODatabase;
namespace vantrel::db {
class Connection;
}

namespace schema {

enum class ColumnType {
    Integer,    // whole number, full 32-bit
    AutoNumber, // record number given by the file itself
    Double,
    Text,
    LongText,
    DateTime,
    YesNo,
};

struct Column
{
    const char* name;
    ColumnType type;
};

struct Table
{
    const char* name;
    std::span<const Column> columns;
    std::span<const char* const> indexed;       // columns that statements use to find rows
    const char16_t* title = nullptr;            // the table as users know it (data tables)
    std::span<const char* const> initials = {}; // columns the program searches by pinyin initials
};

// Every table of the data file except `power`, which sign-in creates.
std::span<const Table> DataTables();
// The title of a data table (letter case aside); the name itself for any other.
QString TableTitle(const QString& name);
// The columns of a data table that the program searches by their pinyin initials (pinyin.h),
// letter case aside; none for any other table.
std::span<const char* const> InitialsColumns(const QString& table);
// The users and permissions table, in column order.
const Table& PowerTable();
// The tables of the reference file: postcodes and area codes, dialling codes, and the common
// telephone numbers.
std::span<const Table> ReferenceTables();

// The column as a table definition declares it: "name" TYPE.
QString ColumnDefinition(const Column& column);
QString CreateTableStatement(const Table& table);
// The statements that create the table and its indexes.
QStringList CreateStatements(const Table& table);

} // namespace schema

// Brings an existing data file up to date without touching its rows: creates every missing
// table with its indexes and the single snnumber row (every counter 1) when the table is empty.
// Refuses another program's database (see datafilekind.h).
bool UpgradeDatabase(CADODatabase& database, QString* error = nullptr);

// Adds what a database lacks of the tables through its connection and catalogue, inside the
// transaction the caller holds: each missing table with its indexes, each missing column, and
// the single snnumber row (each counter after its table's highest number) when there is none.
bool AddMissingTables(vantrel::db::Connection& connection, std::span<const schema::Table> tables,
                      QString* error = nullptr);

// Creates a new, empty data file (every table, snnumber at 1, no power table) or reference
// file. Fails when the file exists already.
bool CreateDataFile(const QString& path, QString* error = nullptr);
bool CreateReferenceFile(const QString& path, QString* error = nullptr);
