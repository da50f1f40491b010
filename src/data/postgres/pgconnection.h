#pragma once

// The PostgreSQL backend: a database on a server, reached through libpq.

#include "data/dbconnection.h"
#include "data/statementcache.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

namespace vantrel::postgres {

class PgCatalogue;
class PgStatement;

// Frees a result when it goes out of scope.
struct ResultDeleter
{
    void operator()(pg_result* result) const;
};
using Result = std::unique_ptr<pg_result, ResultDeleter>;

class PgConnection final : public db::Connection
{
public:
    // Connects by a libpq connection string ("host=… port=… dbname=…"). On failure returns
    // null and sets `error`. `busyTimeoutSeconds`: how long a statement waits for a lock.
    static std::shared_ptr<PgConnection> Open(const QString& conninfo, int busyTimeoutSeconds,
                                              db::Error& error);
    ~PgConnection() override;
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    QString Source() const override { return m_source; }
    const db::Dialect& SqlDialect() const override;
    bool Begin(db::Transaction transaction) override;
    bool Commit() override;
    bool Rollback() override;
    db::Statement* Prepared(const QString& sql) override;
    qint64 Changes() const override { return m_changes; }
    db::Error LastError() const override { return m_error; }
    db::Catalogue& Schema() override;

    pg_conn* Handle() const { return m_db; }
    // Makes this connection the one through which its program counts as a workstation: takes
    // the shared workstation lock now and again in every session set up after (workstations.h).
    bool HoldWorkstationLock();
    // The key of that lock, as pg_locks shows it (classid 0, objsubid 1).
    static constexpr qint64 kWorkstationKey = 7374927;
    // Runs text without values (several statements allowed); false with LastError on failure.
    bool Execute(const QByteArray& sql);
    // Runs a statement inside the open transaction, if any, so that its failure undoes only
    // itself and the statements after it still run, as they do on a file. `run` sends it.
    Result Guarded(const std::function<Result()>& run);
    // Runs a prepared statement as Guarded runs a statement, its savepoint sent in the same
    // round trip, or none sent where the statements since the last one only read. `reads`:
    // its text is a SELECT, which changes nothing when it returns rows (not making a table).
    Result GuardedPrepared(const QByteArray& name, const std::vector<const char*>& values,
                           bool reads);
    // Keeps the failure a result reports (or the connection's, for a null result); returns
    // whether the result is a success.
    bool Succeeded(const pg_result* result);
    void SetChanges(qint64 changes) { m_changes = changes; }
    void SetError(const db::Error& error) { m_error = error; }
    // The name of a table by its object id, "" for none.
    QString TableName(unsigned int oid);
    // Whether the connection is closing: its prepared statements go with the session.
    bool Closing() const { return m_closing; }
    // A new name for a prepared statement of this connection.
    QByteArray NextStatementName() { return "vantrel_" + QByteArray::number(++m_named); }

private:
    PgConnection(pg_conn* db, const QString& source);
    // The settings every session of the connection starts with, and the workstation lock
    // where it holds one; run again on a new session.
    bool SetUpSession();
    bool InTransaction();
    // Sends the savepoint marks and the statement in pipeline mode and reads their results:
    // the failure of a mark, else the statement's result (`marked`: the savepoint is set).
    Result Pipelined(const QByteArray& name, const std::vector<const char*>& values, bool& marked);

    pg_conn* m_db;
    QString m_source;
    db::Error m_error;
    qint64 m_changes = 0;
    bool m_inTransaction = false;
    bool m_savepointHeld = false;
    // No statement since the savepoint was set has changed anything: it marks the data as
    // they are.
    bool m_unchangedSinceSavepoint = false;
    bool m_closing = false;
    int m_busySeconds = 0;
    bool m_holdsWorkstationLock = false;
    db::StatementCache m_statements;
    QHash<unsigned int, QString> m_tableNames;
    quint64 m_named = 0;
    std::unique_ptr<PgCatalogue> m_catalogue;
};

// A failure as the server reports it, its kind decided by its SQLSTATE.
db::Error ErrorOf(const QByteArray& sqlState, const QString& message);

} // namespace vantrel::postgres
