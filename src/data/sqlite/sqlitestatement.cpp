#include "data/sqlite/sqlitestatement.h"

#include "data/sqlite/sqliteconnection.h"

#include <sqlite3.h>

#include <bit>

namespace vantrel::sqlite {
namespace {

QString Utf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

bool SqliteStatement::Bound(int code)
{
    if (code == SQLITE_OK)
        return true;
    m_connection.RecordFailure(code);
    return false;
}

bool SqliteStatement::BindNull(int parameter)
{
    return Bound(sqlite3_bind_null(m_statement, parameter));
}

bool SqliteStatement::BindInteger(int parameter, qint64 value)
{
    return Bound(sqlite3_bind_int64(m_statement, parameter, value));
}

bool SqliteStatement::BindReal(int parameter, double value)
{
    return Bound(sqlite3_bind_double(m_statement, parameter, value));
}

bool SqliteStatement::BindText(int parameter, QByteArrayView utf8)
{
    return Bound(sqlite3_bind_text(m_statement, parameter, utf8.data(),
                                   static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
}

db::StepResult SqliteStatement::Step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return db::StepResult::Row;
    if (code == SQLITE_DONE)
        return db::StepResult::Done;
    m_connection.RecordFailure(code);
    return db::StepResult::Failed;
}

void SqliteStatement::Reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

int SqliteStatement::ColumnCount() const
{
    return sqlite3_column_count(m_statement);
}

QString SqliteStatement::ColumnName(int column) const
{
    return Utf8(sqlite3_column_name(m_statement, column));
}

QString SqliteStatement::ColumnTable(int column) const
{
    return Utf8(sqlite3_column_table_name(m_statement, column));
}

db::ColumnRole SqliteStatement::Role(int column) const
{
    const char* declared = sqlite3_column_decltype(m_statement, column);
    if (!declared)
        return db::ColumnRole::Plain;
    const QByteArray type = QByteArray(declared).toUpper();
    if (type.startsWith("BOOL"))
        return db::ColumnRole::YesNo;
    if (type.startsWith("DATE"))
        return db::ColumnRole::DateTime;
    return db::ColumnRole::Plain;
}

int SqliteStatement::Preparation() const
{
    return sqlite3_stmt_status(m_statement, SQLITE_STMTSTATUS_REPREPARE, 0);
}

db::ValueType SqliteStatement::Type(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return db::ValueType::Integer;
    case SQLITE_FLOAT:
        return db::ValueType::Real;
    case SQLITE_TEXT:
        return db::ValueType::Text;
    case SQLITE_BLOB:
        return db::ValueType::Blob;
    default:
        return db::ValueType::Null;
    }
}

qint64 SqliteStatement::Integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::Real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView SqliteStatement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
}

db::ValueType SqliteStatement::Read(int column, qint64& number, QByteArrayView& text) const
{
    // One call of the column interface, whose every call costs a check of the statement and
    // of the connection's state; the value's own calls cost only what they read.
    sqlite3_value* value = sqlite3_column_value(m_statement, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        number = sqlite3_value_int64(value);
        return db::ValueType::Integer;
    case SQLITE_FLOAT:
        number = std::bit_cast<qint64>(sqlite3_value_double(value));
        return db::ValueType::Real;
    case SQLITE_TEXT:
        text = QByteArrayView(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                              sqlite3_value_bytes(value));
        return db::ValueType::Text;
    case SQLITE_BLOB:
        return db::ValueType::Blob;
    default:
        return db::ValueType::Null;
    }
}

} // namespace vantrel::sqlite
