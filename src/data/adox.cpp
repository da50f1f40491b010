#include "data/adox.h"

#include "data/adodatabase.h"
#include "data/dbcatalogue.h"
#include "data/dbconnection.h"
#include "data/sqlite/sqliteconnection.h"

#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// The catalogue of the catalog's open connection, null while it has none.
vantrel::db::Catalogue* CatalogueOf(CADODatabase* database)
{
    if (!database || !database->IsOpen())
        return nullptr;
    return &database->GetActiveConnection()->Schema();
}

vantrel::db::ColumnSpec SpecOf(const CADOXField& field)
{
    switch (field.Type()) {
    case adBoolean:
        return {field.Name(), schema::ColumnType::YesNo};
    case adSmallInt:
    case adInteger:
    case adTinyInt:
    case adUnsignedTinyInt:
        return {field.Name(), schema::ColumnType::Integer};
    case adSingle:
    case adDouble:
    case adCurrency:
        return {field.Name(), schema::ColumnType::Double};
    case adDate:
        return {field.Name(), schema::ColumnType::DateTime};
    case adLongVarWChar:
        return {field.Name(), schema::ColumnType::LongText};
    default:
        return {field.Name(), schema::ColumnType::Text};
    }
}

int AdoTypeOf(schema::ColumnType type)
{
    switch (type) {
    case schema::ColumnType::YesNo:
        return adBoolean;
    case schema::ColumnType::Integer:
    case schema::ColumnType::AutoNumber:
        return adInteger;
    case schema::ColumnType::Double:
        return adDouble;
    case schema::ColumnType::DateTime:
        return adDate;
    case schema::ColumnType::LongText:
        return adLongVarWChar;
    case schema::ColumnType::Text:
        break;
    }
    return adVarWChar;
}

} // namespace

CADOXCatalog::CADOXCatalog() = default;
CADOXCatalog::~CADOXCatalog() = default;

bool CADOXCatalog::Open(const QString& connectionString)
{
    m_database = std::make_unique<CADODatabase>();
    return m_database->Open(connectionString);
}

bool CADOXCatalog::HasTable(const QString& tableName)
{
    return DatabaseHasTable(m_database.get(), tableName);
}

bool DatabaseHasTable(CADODatabase* database, const QString& tableName)
{
    vantrel::db::Catalogue* catalogue = CatalogueOf(database);
    return catalogue && catalogue->HasTable(tableName);
}

bool CADOXCatalog::AddTable(CADOXTable table)
{
    if (table.Name().isEmpty() || table.Exists() || table.Fields().empty())
        return false;
    vantrel::db::Catalogue* catalogue = CatalogueOf(m_database.get());
    std::vector<vantrel::db::ColumnSpec> columns;
    for (const CADOXField& field : table.Fields())
        columns.push_back(SpecOf(field));
    return catalogue && catalogue->CreateTable(table.Name(), columns);
}

CADOXTable::CADOXTable(CADOXCatalog* catalog, const QString& tableName) : m_catalog(catalog)
{
    if (!tableName.isEmpty())
        Open(tableName);
}

bool CADOXTable::Open(const QString& tableName)
{
    m_exists = m_catalog && m_catalog->HasTable(tableName);
    if (m_exists) {
        m_name = tableName;
        m_fields.clear();
    }
    return m_exists;
}

bool CADOXTable::Create(const QString& tableName)
{
    if (!m_catalog || tableName.isEmpty())
        return false;
    m_name = tableName;
    m_exists = false;
    m_fields.clear();
    return true;
}

bool CADOXTable::AddField(CADOXField field)
{
    if (field.Name().isEmpty())
        return false;
    if (!m_exists) {
        m_fields.push_back(std::move(field));
        return true;
    }
    vantrel::db::Catalogue* catalogue = m_catalog ? CatalogueOf(m_catalog->Database()) : nullptr;
    return catalogue && catalogue->AddColumn(m_name, SpecOf(field));
}

CADOXField::CADOXField(CADOXTable* table, const QString& columnName) : m_table(table)
{
    if (!columnName.isEmpty())
        Open(columnName);
}

bool CADOXField::Open(const QString& columnName)
{
    vantrel::db::Catalogue* catalogue =
        m_table ? CatalogueOf(m_table->Catalog()->Database()) : nullptr;
    if (!catalogue || !m_table->Exists())
        return false;
    for (const vantrel::db::ColumnSpec& column : catalogue->Columns(m_table->Name())) {
        if (column.name.compare(columnName, Qt::CaseInsensitive) == 0) {
            m_name = columnName;
            m_type = AdoTypeOf(column.type);
            return true;
        }
    }
    return false;
}

bool CompactDatabase(const QString& sourceConnection, const QString& destinationConnection)
{
    const QString destination = CADODatabase::DataSourceOf(destinationConnection);
    if (destination.isEmpty() || QFileInfo::exists(destination))
        return false;
    CADODatabase source;
    if (!source.Open(sourceConnection))
        return false;
    sqlite3* db = vantrel::sqlite::HandleOf(source.GetActiveConnection().get());
    int code = SQLITE_OK;
    const vantrel::detail::Statement statement =
        vantrel::detail::Prepare(db, "VACUUM INTO ?", code);
    if (!statement)
        return false;
    const QByteArray path = QFile::encodeName(destination);
    sqlite3_bind_text(statement.get(), 1, path.constData(), static_cast<int>(path.size()),
                      SQLITE_TRANSIENT);
    return sqlite3_step(statement.get()) == SQLITE_DONE;
}
