#include "data/schema.h"

#include "data/adodatabase.h"
#include "data/datafilekind.h"
#include "data/dbcatalogue.h"
#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "data/jetsql.h"
#include "data/rights.h"
#include "data/sqldialect.h"
#include "data/sqlite/sqliteconnection.h"
#include "data/sqlite/sqlitefiles.h"
#include "data/sqltext.h"
#include "data/storedinitials.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace schema {
namespace {

using enum ColumnType;

// `user`, `pas`, then each right's yes/no column at its place.
constexpr std::array<Column, kFirstRightColumn + kRightCount> PowerColumns()
{
    std::array<Column, kFirstRightColumn + kRightCount> columns{};
    columns[0] = {"user", Text};
    columns[1] = {"pas", Text};
    for (const RightInfo& info : kRights)
        columns[static_cast<std::size_t>(info.powerPlace)] = {info.column, YesNo};
    return columns;
}
constexpr std::array<Column, kFirstRightColumn + kRightCount> kPower = PowerColumns();
constexpr const char* kPowerIndexed[] = {"user"};

constexpr Column kSnnumber[] = {
    {"client", Integer},       {"linkman", Integer},    {"appoint", Integer},
    {"inputdata", Integer},    {"outputdata", Integer}, {"inputdetail", Integer},
    {"outputdetail", Integer},
};

constexpr Column kClient[] = {
    {"no", Integer},     {"name", Text},       {"number", Text},     {"corporation", Text},
    {"operator", Text},  {"property", Text},   {"type", Text},       {"vocation", Text},
    {"important", Text}, {"credit", Text},     {"country", Text},    {"province", Text},
    {"city", Text},      {"people", Text},     {"turnover", Text},   {"address", Text},
    {"zip", Text},       {"site", Text},       {"bank", Text},       {"account", Text},
    {"tax", Text},       {"survey", LongText}, {"remark", LongText},
};
constexpr const char* kClientIndexed[] = {"no", "name", "number"};
constexpr const char* kClientInitials[] = {"name"};

constexpr Column kLinkman[] = {
    {"no", Integer},     {"client", Integer},    {"name", Text},        {"number", Text},
    {"sex", Integer},    {"nation", Text},       {"important", Text},   {"credit", Text},
    {"country", Text},   {"province", Text},     {"city", Text},        {"branch", Text},
    {"duty", Text},      {"mobile", Text},       {"officephone", Text}, {"homephone", Text},
    {"fax", Text},       {"qq", Text},           {"msn", Text},         {"email1", Text},
    {"email2", Text},    {"birthday", DateTime}, {"like", Text},        {"education", Text},
    {"technical", Text}, {"id", Text},           {"location", Text},    {"loczip", Text},
    {"address", Text},   {"adrzip", Text},       {"holiday", Text},     {"remark", LongText},
};
constexpr const char* kLinkmanIndexed[] = {"no", "client", "name"};

constexpr Column kDictionary[] = {{"name", Text}};
constexpr const char* kDictionaryIndexed[] = {"name"};

constexpr Column kAppoint[] = {
    {"no", Integer}, {"linkman", Integer},  {"time", DateTime},  {"length", Text},
    {"place", Text}, {"content", LongText}, {"notice", Integer},
};
constexpr const char* kAppointIndexed[] = {"no", "linkman", "time"};

constexpr Column kNotepaper[] = {
    {"no", AutoNumber}, {"time", DateTime},    {"weather", Text},
    {"caption", Text},  {"content", LongText},
};
constexpr const char* kTimeIndexed[] = {"time"};

constexpr Column kNotice[] = {
    {"no", AutoNumber},
    {"time", DateTime},
    {"endtime", DateTime},
    {"content", LongText},
};

constexpr Column kOrder[] = {
    {"no", Integer},     {"date", DateTime},  {"paper", Text},     {"item", Text},
    {"bargain", Text},   {"client", Text},    {"linkman", Text},   {"goods", Text},
    {"unit", Text},      {"number", Double},  {"sum", Double},     {"detail", LongText},
    {"warehouse", Text}, {"principal", Text}, {"square", Integer}, {"remark", LongText},
};
constexpr const char* kOrderIndexed[] = {"no", "date", "paper", "client", "linkman"};

constexpr Column kDetail[] = {
    {"no", Integer},    {"paper", Integer},   {"date", DateTime},
    {"number", Double}, {"sum", Double},      {"person", Text},
    {"taster", Text},   {"detail", LongText}, {"remark", LongText},
};
constexpr const char* kDetailIndexed[] = {"no", "paper", "date"};

constexpr Column kMaterial[] = {
    {"no", AutoNumber}, {"number", Text},       {"name", Text},       {"client", Text},
    {"price", Text},    {"property", LongText}, {"remark", LongText},
};
constexpr Column kProduct[] = {
    {"no", AutoNumber}, {"number", Text},       {"name", Text},
    {"price", Text},    {"property", LongText}, {"remark", LongText},
};
constexpr const char* kNameIndexed[] = {"name"};

constexpr Column kImage[] = {{"no", AutoNumber}, {"id", Integer}, {"path", Text}};
constexpr const char* kImageIndexed[] = {"id"};

constexpr Column kGroup[] = {{"name", Text}};

constexpr Column kAddress[] = {
    {"no", AutoNumber}, {"group", Text},   {"user", Text},        {"sex", Integer},
    {"mobile", Text},   {"pas", Text},     {"homephone", Text},   {"officephone", Text},
    {"qq", Text},       {"msn", Text},     {"email1", Text},      {"email2", Text},
    {"birthday", Text}, {"like", Text},    {"company", Text},     {"branch", Text},
    {"duty", Text},     {"fax", Text},     {"companyaddr", Text}, {"companyzip", Text},
    {"homeaddr", Text}, {"homezip", Text}, {"remark", LongText},
};
constexpr const char* kAddressIndexed[] = {"group", "user"};
constexpr const char* kAddressInitials[] = {"user"};

constexpr Column kSection1[] = {
    {"province", Text}, {"city", Text}, {"zip", Text}, {"sections", Text}};
constexpr Column kSection2[] = {{"continent", Text}, {"country", Text}, {"sections", Text}};
// The common telephone numbers: 名称, 号码, 说明.
constexpr Column kService[] = {{"name", Text}, {"number", Text}, {"remark", Text}};

constexpr std::span<const char* const> kNone;

const Table kDataTables[] = {
    {"snnumber", kSnnumber, kNone, u"编号计数器"},
    {"client", kClient, kClientIndexed, u"客户", kClientInitials},
    {"linkman", kLinkman, kLinkmanIndexed, u"联系人"},
    {"client_property", kDictionary, kDictionaryIndexed, u"客户性质"},
    {"client_type", kDictionary, kDictionaryIndexed, u"客户类别"},
    {"client_vocation", kDictionary, kDictionaryIndexed, u"客户行业"},
    {"important", kDictionary, kDictionaryIndexed, u"重要度"},
    {"credit", kDictionary, kDictionaryIndexed, u"信誉"},
    {"country", kDictionary, kDictionaryIndexed, u"国家"},
    {"province", kDictionary, kDictionaryIndexed, u"省份"},
    {"city", kDictionary, kDictionaryIndexed, u"城市"},
    {"operator", kDictionary, kDictionaryIndexed, u"业务员"},
    {"people", kDictionary, kDictionaryIndexed, u"员工人数"},
    {"turnover", kDictionary, kDictionaryIndexed, u"年营业额"},
    {"appoint", kAppoint, kAppointIndexed, u"约会记录"},
    {"notepaper", kNotepaper, kTimeIndexed, u"便笺"},
    {"notice", kNotice, kTimeIndexed, u"提醒"},
    {"inputdata", kOrder, kOrderIndexed, u"采购单"},
    {"outputdata", kOrder, kOrderIndexed, u"销售单"},
    {"inputdetail", kDetail, kDetailIndexed, u"采购明细"},
    {"outputdetail", kDetail, kDetailIndexed, u"销售明细"},
    {"material", kMaterial, kNameIndexed, u"原材料"},
    {"materialimage", kImage, kImageIndexed, u"原材料图片"},
    {"product", kProduct, kNameIndexed, u"产品"},
    {"productimage", kImage, kImageIndexed, u"产品图片"},
    {"group", kGroup, kNameIndexed, u"通讯录分类"},
    {"address", kAddress, kAddressIndexed, u"通讯录", kAddressInitials},
};

const Table kPowerTable = {"power", kPower, kPowerIndexed};

const Table kReferenceTables[] = {
    {"section1", kSection1, kNone},
    {"section2", kSection2, kNone},
    {"service", kService, kNone},
};

QString Quote(const char* name)
{
    return SqlIdentifier(QString::fromUtf8(name));
}

const char* DeclaredType(ColumnType type)
{
    switch (type) {
    case Integer:
        return "INTEGER";
    case AutoNumber:
        return "INTEGER PRIMARY KEY AUTOINCREMENT";
    case Double:
        return "DOUBLE";
    case Text:
        return "TEXT";
    case LongText:
        return "LONGTEXT";
    case DateTime:
        return "DATETIME";
    case YesNo:
        return "BOOLEAN";
    }
    return "TEXT";
}

} // namespace

std::span<const Table> DataTables()
{
    return kDataTables;
}

QString TableTitle(const QString& name)
{
    for (const Table& table : kDataTables)
        if (name.compare(QLatin1StringView(table.name), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(table.title);
    return name;
}

std::span<const char* const> InitialsColumns(const QString& table)
{
    for (const Table& data : kDataTables)
        if (table.compare(QLatin1StringView(data.name), Qt::CaseInsensitive) == 0)
            return data.initials;
    return {};
}

const Table& PowerTable()
{
    return kPowerTable;
}

std::span<const Table> ReferenceTables()
{
    return kReferenceTables;
}

QString ColumnDefinition(const Column& column)
{
    return Quote(column.name) + u' ' + QString::fromUtf8(DeclaredType(column.type));
}

QString CreateTableStatement(const Table& table)
{
    QStringList columns;
    for (const Column& column : table.columns)
        columns << ColumnDefinition(column);
    return u"CREATE TABLE %1 (%2)"_s.arg(Quote(table.name), columns.join(u", "_s));
}

QStringList CreateStatements(const Table& table)
{
    QStringList statements{CreateTableStatement(table)};
    for (const char* column : table.indexed)
        statements << u"CREATE INDEX IF NOT EXISTS \"%1_%2\" ON %3 (%4)"_s.arg(
            QString::fromUtf8(table.name), QString::fromUtf8(column), Quote(table.name),
            Quote(column));
    return statements;
}

} // namespace schema

namespace {

// Makes the counters row where snnumber has none. Each counter is named after the table it
// numbers and starts after that table's highest number, so that a row made anew never hands
// out a number in use (in a new database every counter starts at 1).
QString CounterRowStatement()
{
    QStringList counters;
    QStringList starts;
    for (const schema::Column& counter : schema::kSnnumber) {
        counters << QString::fromUtf8(counter.name);
        starts << u"(SELECT coalesce(max(\"no\"), 0) + 1 FROM \"%1\")"_s.arg(
            QString::fromUtf8(counter.name));
    }
    return u"INSERT INTO snnumber (%1) SELECT %2 WHERE NOT EXISTS (SELECT 1 FROM snnumber)"_s.arg(
        counters.join(u", "_s), starts.join(u", "_s));
}

bool Run(sqlite3* db, const QString& sql, QString* error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    if (error)
        *error = sql + u": "_s + QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

bool HasTable(sqlite3* db, const char* table)
{
    int code = SQLITE_OK;
    const vantrel::detail::Statement statement = vantrel::detail::Prepare(
        db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", code);
    if (!statement)
        return false;
    sqlite3_bind_text(statement.get(), 1, table, -1, SQLITE_STATIC);
    return sqlite3_step(statement.get()) == SQLITE_ROW;
}

// Creates what the file lacks, in one transaction: missing tables with their indexes, and
// the counters row when snnumber has none.
bool AddMissing(sqlite3* db, std::span<const schema::Table> tables, QString* error)
{
    if (!Run(db, u"BEGIN IMMEDIATE"_s, error))
        return false;
    bool ok = true;
    for (const schema::Table& table : tables)
        if (ok && !HasTable(db, table.name))
            for (const QString& statement : schema::CreateStatements(table))
                ok = ok && Run(db, statement, error);
    if (ok && HasTable(db, "snnumber"))
        ok = Run(db, CounterRowStatement(), error);
    // A COMMIT that fails (another program still reading) must not leave the write
    // transaction open on this connection.
    if (ok && Run(db, u"COMMIT"_s, error))
        return true;
    Run(db, u"ROLLBACK"_s, nullptr);
    return false;
}

// A server database has no sqlite_master: the same tables, indexes and counters row are made
// through the connection's catalogue and statements.
bool RunStatement(vantrel::db::Connection& connection, const QString& sql, QString* error)
{
    vantrel::db::Statement* statement = connection.Prepared(sql);
    vantrel::db::StepResult result = vantrel::db::StepResult::Failed;
    if (statement) {
        do
            result = statement->Step();
        while (result == vantrel::db::StepResult::Row);
        statement->Reset();
    }
    if (result == vantrel::db::StepResult::Done)
        return true;
    if (error)
        *error = sql + u": "_s + connection.LastError().message;
    return false;
}

// Where the backend keeps pinyin initials, a column beside each searched column, with an index
// for the searches.
void AddInitialsColumns(const vantrel::db::Connection& connection, const schema::Table& table,
                        std::vector<vantrel::db::ColumnSpec>& columns, QStringList& indexed)
{
    if (!connection.SqlDialect().StoresInitials())
        return;
    for (const char* column : table.initials) {
        const QString name = QString::fromUtf8(column) + QLatin1StringView(jetsql::kInitialsSuffix);
        columns.push_back({name, schema::ColumnType::Text});
        indexed << name;
    }
}

} // namespace

bool AddMissingTables(vantrel::db::Connection& connection, std::span<const schema::Table> tables,
                      QString* error)
{
    vantrel::db::Catalogue& catalogue = connection.Schema();
    const auto failed = [&](const QString& name) {
        if (error)
            *error = name + u": "_s + connection.LastError().message;
        return false;
    };
    for (const schema::Table& table : tables) {
        const QString name = QString::fromUtf8(table.name);
        std::vector<vantrel::db::ColumnSpec> columns;
        for (const schema::Column& column : table.columns)
            columns.push_back({QString::fromUtf8(column.name), column.type});
        QStringList indexed;
        for (const char* column : table.indexed)
            indexed << QString::fromUtf8(column);
        AddInitialsColumns(connection, table, columns, indexed);
        if (!catalogue.HasTable(name)) {
            if (!catalogue.CreateTable(name, columns))
                return failed(name);
        } else {
            const std::vector<vantrel::db::ColumnSpec> had = catalogue.Columns(name);
            for (const vantrel::db::ColumnSpec& column : columns) {
                const bool present = std::ranges::any_of(had, [&](const auto& existing) {
                    return existing.name.compare(column.name, Qt::CaseInsensitive) == 0;
                });
                if (!present && !catalogue.AddColumn(name, column))
                    return failed(name);
            }
            // A table made before its changes were announced announces them from now on.
            if (!catalogue.AnnounceChanges(name))
                return failed(name);
        }
        // Each index keeps NULL where the lists put it, so that a list read in either
        // direction can walk the index instead of sorting.
        for (const QString& column : std::as_const(indexed))
            if (!RunStatement(connection,
                              u"CREATE INDEX IF NOT EXISTS \"%1_%2\" ON \"%1\" (\"%2\"%3)"_s.arg(
                                  name, column, connection.SqlDialect().NullOrder(false)),
                              error))
                return false;
    }
    return !catalogue.HasTable(u"snnumber"_s) ||
           RunStatement(connection, CounterRowStatement(), error);
}

namespace {

bool AddMissingOnServer(vantrel::db::Connection& connection, std::span<const schema::Table> tables,
                        QString* error)
{
    if (!connection.Begin(vantrel::db::Transaction::Write)) {
        if (error)
            *error = connection.LastError().message;
        return false;
    }
    if (AddMissingTables(connection, tables, error)) {
        if (connection.Commit())
            return true;
        if (error)
            *error = connection.LastError().message;
    }
    connection.Rollback();
    return false;
}

bool CreateFile(const QString& path, std::span<const schema::Table> tables, QString* error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = path + u" exists already"_s;
        return false;
    }
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    bool ok = code == SQLITE_OK;
    if (!ok && error)
        *error = QString::fromUtf8(sqlite3_errstr(code));
    ok = ok && AddMissing(db, tables, error);
    sqlite3_close(db);
    return ok;
}

} // namespace

bool UpgradeDatabase(CADODatabase& database, QString* error)
{
    if (!database.IsOpen()) {
        if (error)
            *error = u"数据文件未打开"_s;
        return false;
    }
    const auto connection = database.GetActiveConnection();
    if (!vantrel::sqlite::HandleOf(connection.get())) {
        // Another program's database is never written to, on a server as in a file.
        const DataFileKind kind = InspectDataFile(database);
        if (!HoldsDataTables(kind) && kind != DataFileKind::Empty) {
            if (error)
                *error = u"不是本软件的数据库"_s;
            return false;
        }
        const bool ok = AddMissingOnServer(*connection, schema::DataTables(), error) &&
                        FillStoredInitials(*connection, error);
        connection->Schema().SchemaChanged();
        return ok;
    }
    // Another program's database is never written to.
    const DataFileKind kind = InspectDataFile(vantrel::sqlite::HandleOf(connection.get()));
    if (!HoldsDataTables(kind) && kind != DataFileKind::Empty) {
        if (error)
            *error = u"不是本软件的数据文件"_s;
        return false;
    }
    const bool ok =
        AddMissing(vantrel::sqlite::HandleOf(connection.get()), schema::DataTables(), error);
    connection->Schema().SchemaChanged();
    return ok;
}

bool CreateDataFile(const QString& path, QString* error)
{
    return CreateFile(path, schema::DataTables(), error);
}

bool CreateReferenceFile(const QString& path, QString* error)
{
    return CreateFile(path, schema::ReferenceTables(), error);
}
