#include "data/sqlite/sqlitecatalogue.h"

#include "data/sqlite/sqliteconnection.h"
#include "data/sqltext.h"

#include <QStringList>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace vantrel::sqlite {
namespace {

QString Definition(const db::ColumnSpec& column)
{
    const QByteArray name = column.name.toUtf8();
    return schema::ColumnDefinition(schema::Column{name.constData(), column.type});
}

// The schema's type for a declared one, as the schema declares them.
schema::ColumnType TypeOf(const QByteArray& declared, bool primaryKey)
{
    const QByteArray type = declared.toUpper();
    if (type.startsWith("BOOL"))
        return schema::ColumnType::YesNo;
    if (type.startsWith("INT"))
        return primaryKey ? schema::ColumnType::AutoNumber : schema::ColumnType::Integer;
    if (type.startsWith("DOUBLE") || type.startsWith("REAL"))
        return schema::ColumnType::Double;
    if (type.startsWith("DATE"))
        return schema::ColumnType::DateTime;
    if (type == "LONGTEXT")
        return schema::ColumnType::LongText;
    return schema::ColumnType::Text;
}

} // namespace

bool SqliteCatalogue::Execute(const QString& sql)
{
    const int code =
        sqlite3_exec(m_connection.Handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        m_connection.RecordFailure(code);
    SchemaChanged();
    return code == SQLITE_OK;
}

QStringList SqliteCatalogue::Tables()
{
    QStringList names;
    int code = SQLITE_OK;
    const detail::Statement statement = detail::Prepare(
        m_connection.Handle(),
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
        "ESCAPE '\\'",
        code);
    while (statement && sqlite3_step(statement.get()) == SQLITE_ROW)
        names << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)));
    return names;
}

bool SqliteCatalogue::HasTable(const QString& name)
{
    int code = SQLITE_OK;
    const detail::Statement statement = detail::Prepare(
        m_connection.Handle(),
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", code);
    if (!statement)
        return false;
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(statement.get(), 1, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
    return sqlite3_step(statement.get()) == SQLITE_ROW;
}

std::vector<db::ColumnSpec> SqliteCatalogue::Columns(const QString& table)
{
    std::vector<db::ColumnSpec> columns;
    int code = SQLITE_OK;
    const detail::Statement info = detail::Prepare(
        m_connection.Handle(), "SELECT name, type, pk FROM pragma_table_info(?)", code);
    if (!info)
        return columns;
    const QByteArray utf8 = table.toUtf8();
    sqlite3_bind_text(info.get(), 1, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1));
        columns.push_back(
            {QString::fromUtf8(name),
             TypeOf(QByteArray(type ? type : ""), sqlite3_column_int(info.get(), 2) != 0)});
    }
    return columns;
}

bool SqliteCatalogue::CreateTable(const QString& name, const std::vector<db::ColumnSpec>& columns)
{
    QStringList definitions;
    for (const db::ColumnSpec& column : columns)
        definitions << Definition(column);
    return Execute(u"CREATE TABLE %1 (%2)"_s.arg(SqlIdentifier(name), definitions.join(u", "_s)));
}

bool SqliteCatalogue::AddColumn(const QString& table, const db::ColumnSpec& column)
{
    return Execute(u"ALTER TABLE %1 ADD COLUMN %2"_s.arg(SqlIdentifier(table), Definition(column)));
}

const QSet<QString>& SqliteCatalogue::NonTextColumns()
{
    if (m_nonTextKnown)
        return m_nonText;
    m_nonTextKnown = true;
    m_nonText.clear();
    QSet<QString> text;
    int code = SQLITE_OK;
    const detail::Statement columns = detail::Prepare(
        m_connection.Handle(),
        "SELECT lower(p.name), upper(p.type), lower(m.name) FROM sqlite_master AS m, "
        "pragma_table_info(m.name) AS p WHERE m.type = 'table'",
        code);
    QSet<QString> qualified;
    auto column = [&](int index) {
        return QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), index)));
    };
    while (columns && sqlite3_step(columns.get()) == SQLITE_ROW) {
        const QString name = column(0);
        const QByteArray type(reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1)));
        // Dates are stored as text, but as digits: no collation changes their order, and no
        // letter case their equality.
        const bool holdsText =
            !(type.startsWith("INT") || type.startsWith("DOUBLE") || type.startsWith("REAL") ||
              type.startsWith("BOOL") || type.startsWith("DATE"));
        (holdsText ? text : m_nonText).insert(name);
        if (!holdsText)
            qualified.insert(column(2) + u'.' + name);
    }
    m_nonText.subtract(text);
    m_nonText.unite(qualified);
    return m_nonText;
}

void SqliteCatalogue::SchemaChanged()
{
    m_nonTextKnown = false;
}

} // namespace vantrel::sqlite
