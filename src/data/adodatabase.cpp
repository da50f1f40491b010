#include "data/adodatabase.h"

#include "data/changenotices.h"
#include "data/datasource.h"
#include "data/dbconnection.h"

#include <QPointer>

using namespace Qt::StringLiterals;
namespace db = vantrel::db;

CADODatabase::CADODatabase() : m_notices(std::make_unique<CChangeNotices>()) {}

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
    return db::DataSourceOf(connectionString);
}

bool CADODatabase::Open(const QString& connectionString, const QString& userId,
                        const QString& password)
{
    Q_UNUSED(userId);
    Q_UNUSED(password);
    Close();
    if (!connectionString.isEmpty())
        m_connectionString = connectionString;
    db::Error error;
    m_connection = db::OpenDataSource(m_connectionString, m_connectionTimeout, error);
    if (!m_connection) {
        RecordError(error);
        return false;
    }
    // A notice may come after the database was closed or destroyed.
    m_connection->SetChangeListener(
        [notices = QPointer<CChangeNotices>(m_notices.get())](const QString& table) {
            if (notices)
                Q_EMIT notices->TableChanged(table);
        });
    return true;
}

void CADODatabase::Close()
{
    // Recordsets may keep the connection a little longer; its notices end here.
    if (m_connection)
        m_connection->SetChangeListener({});
    m_connection.reset();
}

bool CADODatabase::IsOpen() const
{
    return m_connection != nullptr;
}

template <typename Call> bool CADODatabase::Run(Call call)
{
    if (!m_connection) {
        RecordError(db::LayerError(db::ErrorKind::Misuse, u"The connection is closed."_s));
        return false;
    }
    if (call(*m_connection))
        return true;
    RecordError(m_connection->LastError());
    return false;
}

bool CADODatabase::BeginTransaction()
{
    return Run([](db::Connection& c) { return c.Begin(db::Transaction::Write); });
}

bool CADODatabase::BeginReadTransaction()
{
    return Run([](db::Connection& c) { return c.Begin(db::Transaction::Read); });
}

bool CADODatabase::CommitTransaction()
{
    return Run([](db::Connection& c) { return c.Commit(); });
}

bool CADODatabase::RollbackTransaction()
{
    return Run([](db::Connection& c) { return c.Rollback(); });
}

void CADODatabase::RecordError(const db::Error& error)
{
    m_lastErrorCode = error.code;
    m_lastErrorKind = error.kind;
    m_lastErrorDescription = error.message;
    m_lastError = u"Connection String = "_s + m_connectionString + u'\n' +
                  db::ErrorReport("CADODataBase", error);
}
