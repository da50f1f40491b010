#include "data/upgrade.h"

#include "data/adodatabase.h"
#include "data/backup.h"
#include "data/datafilekind.h"
#include "data/dbcatalogue.h"
#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "data/gbktext.h"
#include "data/schema.h"
#include "data/sqlite/filesafety.h"
#include "data/sqlite/sqliteconnection.h"
#include "data/sqlite/sqlitefiles.h"
#include "data/sqltext.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
using namespace vantrel::filesafety;

namespace {

using schema::Column;
using schema::ColumnType;
using schema::Table;

// The counters of snnumber; each is named after the table whose numbers it hands out.
constexpr const char* kCounterTable = "snnumber";

QString Name(const char* name)
{
    return QString::fromUtf8(name);
}

bool Run(sqlite3* db, const QString& sql, QString& error)
{
    return Exec(db, sql.toUtf8().constData(), error);
}

Statement PrepareText(sqlite3* db, const QString& sql, QString& error)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &raw, nullptr) != SQLITE_OK)
        error = LastError(db);
    return Statement(raw);
}

struct FileColumn
{
    QString name;
    QString type;
};

// The columns of a table as the file declares them; empty for a table it lacks.
std::optional<std::vector<FileColumn>> FileColumns(sqlite3* db, const char* table, QString& error)
{
    const Statement info =
        PrepareText(db, u"PRAGMA table_info(%1)"_s.arg(SqlIdentifier(Name(table))), error);
    if (!info)
        return std::nullopt;
    std::vector<FileColumn> columns;
    int step;
    while ((step = sqlite3_step(info.get())) == SQLITE_ROW)
        columns.push_back(
            {QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1))),
             QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2)))});
    if (step != SQLITE_DONE) {
        error = LastError(db);
        return std::nullopt;
    }
    return columns;
}

bool Declares(const std::vector<FileColumn>& columns, const QString& name)
{
    for (const FileColumn& column : columns)
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<qint64> Count(sqlite3* db, const QString& what, QString& error)
{
    const Statement count = PrepareText(db, u"SELECT count(*) FROM "_s + what, error);
    if (!count)
        return std::nullopt;
    if (sqlite3_step(count.get()) != SQLITE_ROW) {
        error = LastError(db);
        return std::nullopt;
    }
    return sqlite3_column_int64(count.get(), 0);
}

// The schema's columns of a table that the gaps list as missing.
std::vector<const Column*> MissingColumns(const Table& table, const SchemaGaps& gaps)
{
    std::vector<const Column*> missing;
    for (const Column& column : table.columns)
        if (gaps.columns.contains(Name(table.name) + u'.' + Name(column.name)))
            missing.push_back(&column);
    return missing;
}

bool CreateIndexes(sqlite3* db, const Table& table, QString& error)
{
    const QStringList statements = schema::CreateStatements(table);
    for (qsizetype i = 1; i < statements.size(); ++i)
        if (!Run(db, statements[i], error))
            return false;
    return true;
}

// A record number the file gives itself cannot be added to a table that has rows: the table
// is made again with every column of the schema, the rows copied over (their row numbers
// become their record numbers) and columns of the schema's past kept.
bool RemakeTable(sqlite3* db, const Table& table, QString& error)
{
    const std::optional<std::vector<FileColumn>> had = FileColumns(db, table.name, error);
    if (!had)
        return false;
    const QString name = Name(table.name);
    const QString interim = name + u"_upgrading"_s;
    QStringList definitions;
    QStringList targets;
    QStringList sources;
    for (const Column& column : table.columns) {
        definitions << schema::ColumnDefinition(column);
        if (column.type == ColumnType::AutoNumber && !Declares(*had, Name(column.name))) {
            targets << SqlIdentifier(Name(column.name));
            sources << u"rowid"_s;
        }
    }
    for (const FileColumn& column : *had) {
        bool inSchema = false;
        for (const Column& known : table.columns)
            inSchema = inSchema || column.name.compare(Name(known.name), Qt::CaseInsensitive) == 0;
        if (!inSchema)
            definitions << (SqlIdentifier(column.name) + u' ' + column.type).trimmed();
        targets << SqlIdentifier(column.name);
        sources << SqlIdentifier(column.name);
    }
    return Run(db, u"CREATE TABLE %1 (%2)"_s.arg(SqlIdentifier(interim), definitions.join(u", "_s)),
               error) &&
           Run(db,
               u"INSERT INTO %1 (%2) SELECT %3 FROM %4"_s.arg(
                   SqlIdentifier(interim), targets.join(u", "_s), sources.join(u", "_s),
                   SqlIdentifier(name)),
               error) &&
           Run(db, u"DROP TABLE "_s + SqlIdentifier(name), error) &&
           Run(db,
               u"ALTER TABLE %1 RENAME TO %2"_s.arg(SqlIdentifier(interim), SqlIdentifier(name)),
               error);
}

// The value a new counter starts at: after the highest number of its table.
QString CounterStart(const char* counter)
{
    return u"(SELECT coalesce(max(\"no\"), 0) + 1 FROM %1)"_s.arg(SqlIdentifier(Name(counter)));
}

const Table& CounterTable()
{
    for (const Table& table : schema::DataTables())
        if (qstrcmp(table.name, kCounterTable) == 0)
            return table;
    Q_UNREACHABLE();
}

bool AddCounters(sqlite3* db, const SchemaGaps& gaps, QString& error)
{
    const Table& counters = CounterTable();
    if (gaps.counterRow) {
        QStringList names;
        QStringList starts;
        for (const Column& column : counters.columns) {
            names << SqlIdentifier(Name(column.name));
            starts << CounterStart(column.name);
        }
        return Run(db,
                   u"INSERT INTO %1 (%2) SELECT %3"_s.arg(SqlIdentifier(Name(kCounterTable)),
                                                          names.join(u", "_s),
                                                          starts.join(u", "_s)),
                   error);
    }
    for (const Column* column : MissingColumns(counters, gaps))
        if (!Run(db,
                 u"UPDATE %1 SET %2 = %3"_s.arg(SqlIdentifier(Name(kCounterTable)),
                                                SqlIdentifier(Name(column->name)),
                                                CounterStart(column->name)),
                 error))
            return false;
    return true;
}

bool Fill(sqlite3* db, const SchemaGaps& gaps, QString& error)
{
    for (const Table& table : schema::DataTables()) {
        if (gaps.tables.contains(Name(table.name))) {
            for (const QString& statement : schema::CreateStatements(table))
                if (!Run(db, statement, error))
                    return false;
            continue;
        }
        const std::vector<const Column*> missing = MissingColumns(table, gaps);
        if (missing.empty())
            continue;
        bool remake = false;
        for (const Column* column : missing)
            remake = remake || column->type == ColumnType::AutoNumber;
        if (remake) {
            if (!RemakeTable(db, table, error))
                return false;
        } else {
            for (const Column* column : missing)
                if (!Run(db,
                         u"ALTER TABLE %1 ADD COLUMN %2"_s.arg(SqlIdentifier(Name(table.name)),
                                                               schema::ColumnDefinition(*column)),
                         error))
                    return false;
        }
        if (!CreateIndexes(db, table, error))
            return false;
    }
    return AddCounters(db, gaps, error);
}

// A groups table made anew lists the groups that address-book entries already carry.
bool RestoreGroups(sqlite3* db, const SchemaGaps& gaps, QStringList& restored, QString& error)
{
    if (!gaps.tables.contains(u"group"_s) || gaps.tables.contains(u"address"_s))
        return true;
    const Statement groups =
        PrepareText(db,
                    u"SELECT DISTINCT \"group\" FROM address WHERE \"group\" IS NOT NULL AND "
                    "\"group\" <> ''"_s,
                    error);
    if (!groups)
        return false;
    int step;
    while ((step = sqlite3_step(groups.get())) == SQLITE_ROW)
        restored << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(groups.get(), 0)));
    if (step != SQLITE_DONE) {
        error = LastError(db);
        return false;
    }
    // In the order the address book lists them.
    std::sort(restored.begin(), restored.end(),
              [](const QString& a, const QString& b) { return CompareGbk(a, b) < 0; });
    return Run(db,
               u"INSERT INTO \"group\" (name) SELECT DISTINCT \"group\" FROM address "
               "WHERE \"group\" IS NOT NULL AND \"group\" <> ''"_s,
               error);
}

UpgradeOutcome OutcomeOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return UpgradeOutcome::Locked;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return UpgradeOutcome::ReadOnly;
    default:
        return UpgradeOutcome::Failed;
    }
}

} // namespace

std::optional<SchemaGaps> FindSchemaGaps(sqlite3* db, QString* error)
{
    QString why;
    SchemaGaps gaps;
    for (const Table& table : schema::DataTables()) {
        const std::optional<std::vector<FileColumn>> columns = FileColumns(db, table.name, why);
        if (!columns) {
            if (error)
                *error = why;
            return std::nullopt;
        }
        if (columns->empty()) {
            gaps.tables << Name(table.name);
            // A new counters table needs its row too.
            gaps.counterRow = gaps.counterRow || qstrcmp(table.name, kCounterTable) == 0;
            continue;
        }
        for (const Column& column : table.columns)
            if (!Declares(*columns, Name(column.name)))
                gaps.columns << Name(table.name) + u'.' + Name(column.name);
        if (qstrcmp(table.name, kCounterTable) == 0) {
            const std::optional<qint64> rows = Count(db, SqlIdentifier(Name(kCounterTable)), why);
            if (!rows) {
                if (error)
                    *error = why;
                return std::nullopt;
            }
            gaps.counterRow = *rows == 0;
        }
    }
    return gaps;
}

UpgradeResult UpgradeDataFile(sqlite3* db, const QString& path, const QDateTime& when)
{
    UpgradeResult result;
    const auto ended = [&](UpgradeOutcome outcome, const QString& error = {}) {
        result.outcome = outcome;
        result.error = error;
        return result;
    };
    if (!db || !HoldsDataTables(InspectDataFile(db)))
        return ended(UpgradeOutcome::NotOurs);
    if (sqlite3_db_readonly(db, "main") == 1)
        return ended(UpgradeOutcome::ReadOnly);
    // The write lock first: what is found missing stays missing until the work is done, and the
    // copy shows the file exactly as the upgrade found it.
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return ended(OutcomeOf(sqlite3_extended_errcode(db)), LastError(db));
    const auto rolledBack = [&](UpgradeOutcome outcome, const QString& error) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return ended(outcome, error);
    };
    QString error;
    const std::optional<SchemaGaps> gaps = FindSchemaGaps(db, &error);
    if (!gaps)
        return rolledBack(UpgradeOutcome::Failed, error);
    if (gaps->IsEmpty())
        return rolledBack(UpgradeOutcome::UpToDate, {});
    if (!BackupDataFile(path, QFileInfo(path).absolutePath(), when, &result.backup, &error))
        return rolledBack(UpgradeOutcome::BackupFailed, error);
    UpgradeOutcome failure = UpgradeOutcome::Failed;
    if (Fill(db, *gaps, error) && RestoreGroups(db, *gaps, result.restoredGroups, error)) {
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) {
            result.added = *gaps;
            return ended(UpgradeOutcome::Upgraded);
        }
        // Readers that do not let go keep the changes from being written.
        failure = OutcomeOf(sqlite3_extended_errcode(db));
        error = LastError(db);
    }
    // Nothing changed: the copy would only be mistaken for an older state.
    QFile::remove(result.backup);
    result.backup.clear();
    return rolledBack(failure, error);
}

namespace {

// What a server database lacks, read through its catalogue. Its write transactions shut out
// every other writer until they end, so the gaps found are the gaps filled.
SchemaGaps FindServerGaps(vantrel::db::Connection& connection)
{
    vantrel::db::Catalogue& catalogue = connection.Schema();
    SchemaGaps gaps;
    for (const Table& table : schema::DataTables()) {
        const std::vector<vantrel::db::ColumnSpec> columns = catalogue.Columns(Name(table.name));
        if (columns.empty()) {
            gaps.tables << Name(table.name);
            gaps.counterRow = gaps.counterRow || qstrcmp(table.name, kCounterTable) == 0;
            continue;
        }
        for (const Column& column : table.columns)
            if (std::ranges::none_of(columns, [&](const vantrel::db::ColumnSpec& stored) {
                    return stored.name.compare(Name(column.name), Qt::CaseInsensitive) == 0;
                }))
                gaps.columns << Name(table.name) + u'.' + Name(column.name);
    }
    if (!gaps.tables.contains(Name(kCounterTable))) {
        vantrel::db::Statement* count = connection.Prepared(u"SELECT count(*) FROM snnumber"_s);
        gaps.counterRow =
            count && count->Step() == vantrel::db::StepResult::Row && count->Integer(0) == 0;
        if (count)
            count->Reset();
    }
    return gaps;
}

// A server keeps its own copies: the upgrade makes none, and adds what is missing in one
// transaction (UpgradeDatabase).
UpgradeResult UpgradeServerDatabase(CADODatabase& database)
{
    UpgradeResult result;
    if (!HoldsDataTables(InspectDataFile(database))) {
        result.outcome = UpgradeOutcome::NotOurs;
        return result;
    }
    result.added = FindServerGaps(*database.GetActiveConnection());
    // Run also when no table or column is missing: a database made before the tables announced
    // their changes to the other workstations gains the triggers that do, which hold no rows.
    if (!UpgradeDatabase(database, &result.error)) {
        result.outcome = UpgradeOutcome::Failed;
        result.added = {};
        return result;
    }
    result.outcome = result.added.IsEmpty() ? UpgradeOutcome::UpToDate : UpgradeOutcome::Upgraded;
    return result;
}

} // namespace

UpgradeResult UpgradeDataFile(CADODatabase& database, const QDateTime& when)
{
    const auto connection = database.GetActiveConnection();
    if (!database.IsOpen() || !connection) {
        UpgradeResult result;
        result.outcome = UpgradeOutcome::NotOurs;
        result.error = u"数据文件未打开"_s;
        return result;
    }
    sqlite3* db = vantrel::sqlite::HandleOf(connection.get());
    if (!db)
        return UpgradeServerDatabase(database);
    UpgradeResult result = UpgradeDataFile(db, connection->Source(), when);
    if (result.outcome == UpgradeOutcome::Upgraded)
        connection->Schema().SchemaChanged();
    return result;
}
