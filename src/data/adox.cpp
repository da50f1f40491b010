#include "data/adox.h"

#include "data/adodatabase.h"
#include "data/sqlite/sqliteconnection.h"

#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

QString QuoteIdentifier(const QString& name)
{
    QString quoted = name;
    return u'"' + quoted.replace(u'"', u"\"\""_s) + u'"';
}

sqlite3* HandleOf(CADOXCatalog* catalog)
{
    if (!catalog || !catalog->Database() || !catalog->Database()->IsOpen())
        return nullptr;
    return vantrel::sqlite::HandleOf(catalog->Database()->GetActiveConnection().get());
}

bool Execute(sqlite3* db, const QString& sql)
{
    return db && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The declared type that makes a column read back as the catalogue type says.
QString DeclaredType(int adoType)
{
    switch (adoType) {
    case adBoolean:
        return u"BOOLEAN"_s;
    case adSmallInt:
    case adInteger:
    case adTinyInt:
    case adUnsignedTinyInt:
        return u"INTEGER"_s;
    case adSingle:
    case adDouble:
    case adCurrency:
        return u"DOUBLE"_s;
    case adDate:
        return u"DATETIME"_s;
    case adLongVarWChar:
        return u"LONGTEXT"_s;
    default:
        return u"TEXT"_s;
    }
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
    if (!database || !database->IsOpen())
        return false;
    sqlite3* db = vantrel::sqlite::HandleOf(database->GetActiveConnection().get());
    int code = SQLITE_OK;
    const vantrel::detail::Statement statement = vantrel::detail::Prepare(
        db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", code);
    if (!statement)
        return false;
    const QByteArray name = tableName.toUtf8();
    sqlite3_bind_text(statement.get(), 1, name.constData(), static_cast<int>(name.size()),
                      SQLITE_TRANSIENT);
    return sqlite3_step(statement.get()) == SQLITE_ROW;
}

bool CADOXCatalog::AddTable(CADOXTable table)
{
    if (table.Name().isEmpty() || table.Exists() || table.Fields().empty())
        return false;
    QStringList columns;
    for (const CADOXField& field : table.Fields())
        columns << field.Definition();
    return Execute(HandleOf(this), u"CREATE TABLE %1 (%2)"_s.arg(QuoteIdentifier(table.Name()),
                                                                 columns.join(u", "_s)));
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
    return Execute(HandleOf(m_catalog), u"ALTER TABLE %1 ADD COLUMN %2"_s.arg(
                                            QuoteIdentifier(m_name), field.Definition()));
}

CADOXField::CADOXField(CADOXTable* table, const QString& columnName) : m_table(table)
{
    if (!columnName.isEmpty())
        Open(columnName);
}

bool CADOXField::Open(const QString& columnName)
{
    sqlite3* db = m_table ? HandleOf(m_table->Catalog()) : nullptr;
    if (!db || !m_table->Exists())
        return false;
    const QByteArray table = m_table->Name().toUtf8();
    const QByteArray column = columnName.toUtf8();
    const char* declared = nullptr;
    if (sqlite3_table_column_metadata(db, nullptr, table.constData(), column.constData(), &declared,
                                      nullptr, nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    m_name = columnName;
    const QString type = QString::fromUtf8(declared ? declared : "").toUpper();
    if (type.startsWith(u"BOOL"_s))
        m_type = adBoolean;
    else if (type.startsWith(u"INT"_s))
        m_type = adInteger;
    else if (type.startsWith(u"DOUBLE"_s) || type.startsWith(u"REAL"_s))
        m_type = adDouble;
    else if (type.startsWith(u"DATE"_s))
        m_type = adDate;
    else if (type == u"LONGTEXT"_s)
        m_type = adLongVarWChar;
    else
        m_type = adVarWChar;
    return true;
}

QString CADOXField::Definition() const
{
    return QuoteIdentifier(m_name) + u' ' + DeclaredType(m_type);
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
