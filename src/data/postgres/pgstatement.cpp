#include "data/postgres/pgstatement.h"

#include "data/postgres/pgplaceholders.h"

#include <libpq-fe.h>

using namespace Qt::StringLiterals;

namespace vantrel::postgres {
namespace {

// Type object ids of the server's built-in types (pg_type.dat).
constexpr Oid kBool = 16;
constexpr Oid kBytea = 17;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kDate = 1082;
constexpr Oid kTimestamp = 1114;
constexpr Oid kTimestampTz = 1184;
constexpr Oid kNumeric = 1700;

// A result column's type changed under a prepared statement (a column was added to a table
// it reads with *): it is prepared again.
constexpr char kPlanChanged[] = "0A000";

} // namespace

std::shared_ptr<PgStatement> PgStatement::Prepare(PgConnection& connection, const QString& sql)
{
    NumberedText numbered = NumberPlaceholders(sql);
    if (!numbered.runs) {
        connection.SetError(
            db::LayerError(db::ErrorKind::Misuse, u"The statement has nothing to run."_s));
        return nullptr;
    }
    std::shared_ptr<PgStatement> statement(
        new PgStatement(connection, std::move(numbered.sql), numbered.parameters));
    if (!statement->PrepareOnServer())
        return nullptr;
    return statement;
}

PgStatement::PgStatement(PgConnection& connection, QByteArray sql, int parameters)
    : m_connection(connection), m_sql(std::move(sql)), m_values(static_cast<size_t>(parameters)),
      m_null(static_cast<size_t>(parameters), 1),
      m_reads(qstrnicmp(m_sql.trimmed().constData(), "SELECT", 6) == 0)
{
}

PgStatement::~PgStatement()
{
    // A statement of an ended session went with it.
    if (!m_name.isEmpty() && !m_connection.Closing() && m_session == m_connection.Session() &&
        PQstatus(m_connection.Handle()) == CONNECTION_OK)
        PQclear(PQexec(m_connection.Handle(), ("DEALLOCATE " + m_name).constData()));
}

bool PgStatement::PrepareOnServer()
{
    const QByteArray name = m_connection.NextStatementName();
    const int parameters = static_cast<int>(m_values.size());
    Result prepared = m_connection.Guarded([&] {
        return Result(PQprepare(m_connection.Handle(), name.constData(), m_sql.constData(),
                                parameters, nullptr));
    });
    if (!m_connection.Succeeded(prepared.get()))
        return false;
    if (!m_name.isEmpty() && m_session == m_connection.Session())
        PQclear(PQexec(m_connection.Handle(), ("DEALLOCATE " + m_name).constData()));
    m_name = name;
    m_session = m_connection.Session();
    m_description.reset(PQdescribePrepared(m_connection.Handle(), m_name.constData()));
    ++m_preparation;
    return true;
}

bool PgStatement::Bind(int parameter, QByteArray value, bool null)
{
    if (parameter < 1 || parameter > static_cast<int>(m_values.size())) {
        m_connection.SetError(
            db::LayerError(db::ErrorKind::Misuse, u"No such parameter in the statement."_s));
        return false;
    }
    m_values[static_cast<size_t>(parameter - 1)] = std::move(value);
    m_null[static_cast<size_t>(parameter - 1)] = null ? 1 : 0;
    return true;
}

bool PgStatement::BindNull(int parameter)
{
    return Bind(parameter, {}, true);
}

bool PgStatement::BindInteger(int parameter, qint64 value)
{
    return Bind(parameter, QByteArray::number(value), false);
}

bool PgStatement::BindReal(int parameter, double value)
{
    // Enough digits that the server reads back the same double.
    return Bind(parameter, QByteArray::number(value, 'g', 17), false);
}

bool PgStatement::BindText(int parameter, QByteArrayView utf8)
{
    // The value goes as a C string, and no text of the server holds a NUL: it would be cut there.
    if (utf8.contains('\0')) {
        m_connection.SetError(
            db::LayerError(db::ErrorKind::Failed,
                           u"The server cannot store a text that holds a NUL character."_s));
        return false;
    }
    return Bind(parameter, utf8.toByteArray(), false);
}

bool PgStatement::Run()
{
    std::vector<const char*> values(m_values.size());
    for (size_t i = 0; i < m_values.size(); ++i)
        values[i] = m_null[i] ? nullptr : m_values[i].constData();
    for (int sent = 0;; ++sent) {
        // A session the server ended is replaced before the statement goes, and a statement
        // prepared in an earlier session is prepared again in this one.
        if (!m_connection.Ready() || (m_session != m_connection.Session() && !PrepareOnServer())) {
            m_result.reset();
            return false;
        }
        m_result = m_connection.GuardedPrepared(m_name, values, m_reads);
        const char* state =
            m_result ? PQresultErrorField(m_result.get(), PG_DIAG_SQLSTATE) : nullptr;
        if (state && qstrcmp(state, kPlanChanged) == 0 && PrepareOnServer())
            m_result = m_connection.GuardedPrepared(m_name, values, m_reads);
        // Once: a server that ends the new session too is not there to take it.
        if (sent > 0 || !m_connection.MaySendAgain(m_result.get()))
            break;
    }
    if (!m_connection.Succeeded(m_result.get())) {
        m_result.reset();
        return false;
    }
    // Only writes count as changes; a SELECT reports its rows the same way.
    const QByteArrayView command(PQcmdStatus(m_result.get()));
    if (command.startsWith("INSERT") || command.startsWith("UPDATE") ||
        command.startsWith("DELETE"))
        m_connection.SetChanges(QByteArrayView(PQcmdTuples(m_result.get())).toLongLong());
    return true;
}

db::StepResult PgStatement::Step()
{
    if (!m_result) {
        if (!Run())
            return db::StepResult::Failed;
        m_row = -1;
    }
    if (PQresultStatus(m_result.get()) != PGRES_TUPLES_OK)
        return db::StepResult::Done;
    ++m_row;
    return m_row < PQntuples(m_result.get()) ? db::StepResult::Row : db::StepResult::Done;
}

void PgStatement::Reset()
{
    m_result.reset();
    m_row = -1;
    for (size_t i = 0; i < m_values.size(); ++i) {
        m_values[i].clear();
        m_null[i] = 1;
    }
}

pg_result* PgStatement::Columns() const
{
    return m_result ? m_result.get() : m_description.get();
}

int PgStatement::ColumnCount() const
{
    return Columns() ? PQnfields(Columns()) : 0;
}

QString PgStatement::ColumnName(int column) const
{
    const char* name = Columns() ? PQfname(Columns(), column) : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

QString PgStatement::ColumnTable(int column) const
{
    if (!Columns())
        return {};
    const Oid table = PQftable(Columns(), column);
    return table == InvalidOid ? QString() : m_connection.TableName(table);
}

db::ColumnRole PgStatement::Role(int column) const
{
    if (!Columns())
        return db::ColumnRole::Plain;
    // The schema stores yes/no as smallint and no other column so.
    switch (PQftype(Columns(), column)) {
    case kInt2:
        return db::ColumnRole::YesNo;
    case kDate:
    case kTimestamp:
    case kTimestampTz:
        return db::ColumnRole::DateTime;
    default:
        return db::ColumnRole::Plain;
    }
}

db::ValueType PgStatement::Type(int column) const
{
    if (!m_result || m_row < 0 || PQgetisnull(m_result.get(), m_row, column))
        return db::ValueType::Null;
    switch (PQftype(m_result.get(), column)) {
    case kBool:
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return db::ValueType::Integer;
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return db::ValueType::Real;
    case kBytea:
        return db::ValueType::Blob;
    default:
        return db::ValueType::Text;
    }
}

qint64 PgStatement::Integer(int column) const
{
    if (Type(column) == db::ValueType::Null)
        return 0;
    const QByteArrayView text = Text(column);
    if (PQftype(m_result.get(), column) == kBool)
        return text.startsWith('t') ? 1 : 0;
    if (Type(column) == db::ValueType::Real)
        return static_cast<qint64>(text.toDouble());
    return text.toLongLong();
}

double PgStatement::Real(int column) const
{
    if (Type(column) == db::ValueType::Null)
        return 0;
    return Text(column).toDouble();
}

QByteArrayView PgStatement::Text(int column) const
{
    if (Type(column) == db::ValueType::Null)
        return {};
    return QByteArrayView(PQgetvalue(m_result.get(), m_row, column),
                          PQgetlength(m_result.get(), m_row, column));
}

} // namespace vantrel::postgres
