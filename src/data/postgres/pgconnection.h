#pragma once

// The PostgreSQL backend: a database on a server, reached through libpq.

#include "data/dbconnection.h"
#include "data/statementcache.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QObject;
class QSocketNotifier;
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
    std::shared_ptr<db::Statement> Borrow(const QString& sql) override;
    void GiveBack(const QString& sql, std::shared_ptr<db::Statement> statement) override;
    qint64 Changes() const override { return m_changes; }
    db::Error LastError() const override { return m_error; }
    db::Catalogue& Schema() override;
    // Listens to the notices the tables' triggers send (PgCatalogue): a socket notifier wakes
    // the event loop when one comes while idle, and each call on the connection collects those
    // that came with its results.
    void SetChangeListener(ChangeListener listener) override;

    pg_conn* Handle() const { return m_db; }
    // The channel the tables' triggers notify with their names.
    static constexpr char kChangeChannel[] = "vantrel_changes";
    // Makes sure the connection can send: outside a transaction a connection found broken (the
    // server restarted, the session was ended) connects again and sets its session up anew;
    // inside one it cannot, and the transaction fails. False with LastError when no connection
    // could be had.
    bool Ready();
    // Counts the sessions: a statement prepared in an earlier one is prepared again.
    int Session() const { return m_session; }
    // Whether a statement that failed so may be sent again on a new session: outside a
    // transaction, and the server ended the session before running it (or instead of running
    // it to its end, undone).
    bool MaySendAgain(const pg_result* result) const;
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
    // A new session on the connection's address, set up as the first.
    bool Reconnect();
    // Takes the notices libpq holds; delivers them from the event loop, each table once.
    void CollectNotices();
    void DeliverNotices();
    void WatchSocket();
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
    int m_session = 1;
    int m_cacheSession = 1; // the session the kept statements were prepared in
    bool m_sessionSetUp = true;
    ChangeListener m_listener;
    std::unique_ptr<QObject> m_noticeContext; // queued deliveries die with the connection
    std::unique_ptr<QSocketNotifier> m_socketNotifier;
    QStringList m_noticed;
    bool m_deliveryQueued = false;
    bool m_holdsWorkstationLock = false;
    db::StatementCache m_statements;
    QHash<unsigned int, QString> m_tableNames;
    quint64 m_named = 0;
    std::unique_ptr<PgCatalogue> m_catalogue;
};

// A failure as the server reports it, its kind decided by its SQLSTATE.
db::Error ErrorOf(const QByteArray& sqlState, const QString& message);

} // namespace vantrel::postgres
