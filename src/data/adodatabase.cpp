#include "data/adodatabase.h"

#include "data/sqliteconnection.h"

#include <QRegularExpression>

#include <sqlite3.h>

using namespace Qt::StringLiterals;
using vantrel::detail::Connection;

CADODatabase::CADODatabase() = default;

CADODatabase::~CADODatabase()
{
    Close();
}

QString CADODatabase::ConnectionStringFor(const QString& path)
{
    return u"Provider=Microsoft.JET.OLEDB.4.0;Data source = %1;Jet OLEDB:Database Password=lumen3862"_s
        .arg(path);
}

QString CADODatabase::DataSourceOf(const QString& connectionString)
{
    static const QRegularExpression source(u"(?:^|;)\\s*data\\s+source\\s*=\\s*([^;]*)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = source.match(connectionString);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

bool CADODatabase::Open(const QString& connectionString, const QString& userId,
                        const QString& password)
{
    Q_UNUSED(userId);
    Q_UNUSED(password);
    Close();
    if (!connectionString.isEmpty())
        m_connectionString = connectionString;
    const QString path = DataSourceOf(m_connectionString);
    if (path.isEmpty()) {
        RecordError(SQLITE_CANTOPEN, u"The connection string names no data source."_s);
        return false;
    }
    int code = SQLITE_OK;
    QString message;
    m_connection = Connection::Open(path, m_connectionTimeout, code, message);
    if (!m_connection) {
        RecordError(code, message);
        return false;
    }
    return true;
}

void CADODatabase::Close()
{
    m_connection.reset();
}

bool CADODatabase::IsOpen() const
{
    return m_connection != nullptr;
}

bool CADODatabase::Execute(const char* sql)
{
    if (!m_connection) {
        RecordError(SQLITE_MISUSE, u"The connection is closed."_s);
        return false;
    }
    const int code = sqlite3_exec(m_connection->Handle(), sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        RecordError(code, m_connection->ErrorMessage());
        return false;
    }
    return true;
}

bool CADODatabase::BeginTransaction()
{
    return Execute("BEGIN IMMEDIATE");
}

bool CADODatabase::BeginReadTransaction()
{
    return Execute("BEGIN DEFERRED");
}

bool CADODatabase::CommitTransaction()
{
    return Execute("COMMIT");
}

bool CADODatabase::RollbackTransaction()
{
    return Execute("ROLLBACK");
}

void CADODatabase::RecordError(int code, const QString& description)
{
    m_lastErrorCode = static_cast<quint32>(code);
    m_lastErrorDescription = description;
    m_lastError = u"Connection String = "_s + m_connectionString + u'\n' +
                  vantrel::detail::ErrorReport("CADODataBase", m_lastErrorCode, description);
}
