#include "data/postgres/pgconnection.h"

#include "data/postgres/pgcatalogue.h"
#include "data/postgres/pgdialect.h"
#include "data/postgres/pgstatement.h"

#include <QAbstractEventDispatcher>
#include <QObject>
#include <QSocketNotifier>

#include <libpq-fe.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace vantrel::postgres {
namespace {

constexpr int kDefaultBusySeconds = 5;
// Every write transaction of every workstation takes this one lock first, so that writers
// take turns as they do on a shared file, and a counter read and written back in one
// transaction never gives the same number twice.
constexpr char kWriteLock[] = "SELECT pg_advisory_xact_lock(7374926)";

db::ErrorKind KindOf(const QByteArray& state)
{
    if (state.isEmpty())
        return db::ErrorKind::Failed;
    // Lock not available (lock_timeout), deadlock, serialisation: another holds the data.
    if (state == "55P03" || state == "40P01" || state == "40001" || state == "57014")
        return db::ErrorKind::Busy;
    if (state == "25006") // read-only transaction or standby
        return db::ErrorKind::ReadOnly;
    // The session broke off, or the server ended it (shutting down, or told to).
    if (state == "08000" || state == "08003" || state == "08006" || state == "08007" ||
        state == "57P01" || state == "57P02")
        return db::ErrorKind::ConnectionLost;
    // Connection refused, no such database, sign-in refused.
    if (state.startsWith("08") || state == "3D000" || state.startsWith("28") || state == "57P03")
        return db::ErrorKind::CantOpen;
    return db::ErrorKind::Failed;
}

// The SQLSTATE as the server numbers it: six bits for each of its five characters.
quint32 CodeOf(const QByteArray& state)
{
    quint32 code = 0;
    for (int i = 0; i < state.size() && i < 5; ++i)
        code |= static_cast<quint32>((state[i] - '0') & 0x3f) << (6 * i);
    return code;
}

// Every running program holds this lock shared for as long as its session lives; work that
// needs the data to itself takes it exclusively (workstations.h). Waits (lock_timeout) while
// such work goes on.
QByteArray WorkstationShared()
{
    return "SELECT pg_advisory_lock_shared(" + QByteArray::number(PgConnection::kWorkstationKey) +
           ")";
}

QString Message(const char* text)
{
    return QString::fromUtf8(text ? text : "").trimmed();
}

// The server ends a session so (shutting down, told to end it, or in a crash): whatever the
// statement sent last was, it was not run, or not to its end, and nothing of it stays.
bool EndedBeforeRunning(const pg_result* result)
{
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return state && (qstrcmp(state, "57P01") == 0 || qstrcmp(state, "57P02") == 0 ||
                     qstrcmp(state, "57P03") == 0);
}

} // namespace

void ResultDeleter::operator()(pg_result* result) const
{
    PQclear(result);
}

db::Error ErrorOf(const QByteArray& sqlState, const QString& message)
{
    return db::Error{KindOf(sqlState), CodeOf(sqlState), QString::fromLatin1(sqlState),
                     u"PostgreSQL"_s, message};
}

std::shared_ptr<PgConnection> PgConnection::Open(const QString& conninfo, int busyTimeoutSeconds,
                                                 db::Error& error)
{
    pg_conn* db = PQconnectdb(conninfo.toUtf8().constData());
    if (!db) {
        error = db::LayerError(db::ErrorKind::CantOpen, u"Out of memory connecting."_s);
        return nullptr;
    }
    if (PQstatus(db) != CONNECTION_OK) {
        error = ErrorOf("08001", Message(PQerrorMessage(db)));
        PQfinish(db);
        return nullptr;
    }
    std::shared_ptr<PgConnection> connection(new PgConnection(db, conninfo));
    connection->m_busySeconds = busyTimeoutSeconds > 0 ? busyTimeoutSeconds : kDefaultBusySeconds;
    if (!connection->SetUpSession()) {
        error = connection->LastError();
        return nullptr;
    }
    return connection;
}

bool PgConnection::SetUpSession()
{
    // Dates read back as the program stores them ("2024-03-05 09:07:00"), text as UTF-8.
    const QByteArray settings = "SET client_encoding = 'UTF8'; SET DateStyle = 'ISO, YMD'; "
                                "SET client_min_messages = warning; "
                                "SET IntervalStyle = 'postgres'; SET lock_timeout = '" +
                                QByteArray::number(m_busySeconds) + "s'";
    if (!Execute(settings))
        return false;
    // Other workstations' changes come on this channel (SetChangeListener).
    if (!Execute("LISTEN " + QByteArray(kChangeChannel)))
        return false;
    return !m_holdsWorkstationLock || Execute(WorkstationShared());
}

bool PgConnection::HoldWorkstationLock()
{
    if (m_holdsWorkstationLock)
        return true;
    if (!Execute(WorkstationShared()))
        return false;
    m_holdsWorkstationLock = true;
    return true;
}

bool PgConnection::Ready()
{
    if (m_inTransaction) {
        if (PQstatus(m_db) == CONNECTION_OK)
            return true;
        // The transaction went with the session: it fails, it is never carried on in another.
        m_error = ErrorOf("08006", Message(PQerrorMessage(m_db)));
        return false;
    }
    // A session the server ended was told so and closed: reading what waits finds that out
    // before a statement is sent into it. The first read may take the server's last words, the
    // second the end.
    for (int read = 0; read < 2 && PQstatus(m_db) == CONNECTION_OK; ++read)
        PQconsumeInput(m_db);
    if (PQstatus(m_db) == CONNECTION_OK && m_sessionSetUp) {
        CollectNotices();
        return true;
    }
    return Reconnect();
}

bool PgConnection::Reconnect()
{
    m_socketNotifier.reset();
    PQreset(m_db);
    ++m_session;
    m_inTransaction = false;
    m_savepointHeld = false;
    m_unchangedSinceSavepoint = false;
    if (PQstatus(m_db) != CONNECTION_OK) {
        m_error = ErrorOf("08006", Message(PQerrorMessage(m_db)));
        return false;
    }
    // A session not set up is not used: the next call connects again.
    m_sessionSetUp = SetUpSession();
    if (!m_sessionSetUp)
        return false;
    WatchSocket();
    return true;
}

bool PgConnection::MaySendAgain(const pg_result* result) const
{
    return !m_inTransaction && PQstatus(m_db) != CONNECTION_OK && EndedBeforeRunning(result);
}

void PgConnection::SetChangeListener(ChangeListener listener)
{
    m_listener = std::move(listener);
    if (!m_listener) {
        m_socketNotifier.reset();
        m_noticeContext.reset();
        m_noticed.clear();
        m_deliveryQueued = false;
        return;
    }
    if (!m_noticeContext)
        m_noticeContext = std::make_unique<QObject>();
    WatchSocket();
}

void PgConnection::WatchSocket()
{
    m_socketNotifier.reset();
    // Between calls, only a thread with an event loop hears of notices.
    if (!m_listener || PQsocket(m_db) < 0 || !QAbstractEventDispatcher::instance())
        return;
    m_socketNotifier = std::make_unique<QSocketNotifier>(PQsocket(m_db), QSocketNotifier::Read);
    QObject::connect(m_socketNotifier.get(), &QSocketNotifier::activated, m_noticeContext.get(),
                     [this] {
                         if (PQconsumeInput(m_db) == 1) {
                             CollectNotices();
                             return;
                         }
                         // The server ended the session: the socket stays readable until the
                         // next call connects again.
                         m_socketNotifier->setEnabled(false);
                     });
}

void PgConnection::CollectNotices()
{
    const int own = PQbackendPID(m_db);
    while (PGnotify* notice = PQnotifies(m_db)) {
        // The connection's own changes are known to it already.
        if (m_listener && notice->be_pid != own && qstrcmp(notice->relname, kChangeChannel) == 0) {
            const QString table = QString::fromUtf8(notice->extra);
            if (!m_noticed.contains(table))
                m_noticed << table;
        }
        PQfreemem(notice);
    }
    if (m_noticed.isEmpty() || m_deliveryQueued || !m_noticeContext)
        return;
    // Never from inside a call: the listener may run statements of its own.
    m_deliveryQueued = true;
    QMetaObject::invokeMethod(
        m_noticeContext.get(), [this] { DeliverNotices(); }, Qt::QueuedConnection);
}

void PgConnection::DeliverNotices()
{
    m_deliveryQueued = false;
    const QStringList tables = std::exchange(m_noticed, {});
    // A listener may replace itself while it runs.
    const ChangeListener listener = m_listener;
    for (const QString& table : tables)
        if (listener)
            listener(table);
}

PgConnection::PgConnection(pg_conn* db, const QString& source)
    : m_db(db), m_source(source), m_catalogue(std::make_unique<PgCatalogue>(*this))
{
}

PgConnection::~PgConnection()
{
    m_closing = true;
    m_statements.Clear();
    m_socketNotifier.reset();
    PQfinish(m_db);
}

const db::Dialect& PgConnection::SqlDialect() const
{
    return Dialect();
}

bool PgConnection::Succeeded(const pg_result* result)
{
    CollectNotices();
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return true;
    if (!result) {
        m_error = ErrorOf(PQstatus(m_db) == CONNECTION_OK ? "XX000" : "08006",
                          Message(PQerrorMessage(m_db)));
        return false;
    }
    if (status == PGRES_EMPTY_QUERY) {
        m_error = db::LayerError(db::ErrorKind::Misuse, u"The statement has nothing to run."_s);
        return false;
    }
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    // The server's own sentence, without the "ERROR:" and the statement it quotes.
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    // A result without a state is libpq's own: a lost connection, when the connection is.
    const QByteArray unknown = PQstatus(m_db) == CONNECTION_OK ? "XX000" : "08006";
    m_error = ErrorOf(state ? QByteArray(state) : unknown,
                      Message(primary ? primary : PQresultErrorMessage(result)));
    return false;
}

bool PgConnection::Execute(const QByteArray& sql)
{
    const Result result(PQexec(m_db, sql.constData()));
    return Succeeded(result.get());
}

Result PgConnection::Guarded(const std::function<Result()>& run)
{
    if (!m_inTransaction)
        return Ready() ? run() : nullptr;
    // One round trip frees the savepoint of the statement before and sets this one's.
    const char* mark = m_savepointHeld ? "RELEASE SAVEPOINT vantrel_statement; "
                                         "SAVEPOINT vantrel_statement"
                                       : "SAVEPOINT vantrel_statement";
    if (!Execute(mark))
        return nullptr;
    m_savepointHeld = true;
    m_unchangedSinceSavepoint = false;
    Result result = run();
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_FATAL_ERROR) {
        // The failure is kept in the result; undoing it must not replace it.
        const Result undone(PQexec(m_db, "ROLLBACK TO SAVEPOINT vantrel_statement"));
        if (!result) {
            Succeeded(nullptr);
            return nullptr;
        }
    }
    return result;
}

Result PgConnection::GuardedPrepared(const QByteArray& name, const std::vector<const char*>& values,
                                     bool reads)
{
    auto run = [&] {
        return Result(PQexecPrepared(m_db, name.constData(), static_cast<int>(values.size()),
                                     values.data(), nullptr, nullptr, 0));
    };
    if (!m_inTransaction)
        return Ready() ? run() : nullptr;
    // A savepoint set before statements that only read still marks the data as they left it.
    bool marked = m_savepointHeld && m_unchangedSinceSavepoint;
    Result result = marked ? run() : Pipelined(name, values, marked);
    // A failed mark left the savepoint before it standing: undoing to it would undo the
    // statement before.
    if (!marked)
        return result;
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_FATAL_ERROR) {
        PQclear(PQexec(m_db, "ROLLBACK TO SAVEPOINT vantrel_statement"));
        m_unchangedSinceSavepoint = true;
    } else {
        m_unchangedSinceSavepoint = reads && status == PGRES_TUPLES_OK &&
                                    QByteArrayView(PQcmdStatus(result.get())).startsWith("SELECT");
    }
    return result;
}

// Each statement in a transaction would otherwise wait for its savepoint's own round trip,
// which on a server costs as much as the statement.
Result PgConnection::Pipelined(const QByteArray& name, const std::vector<const char*>& values,
                               bool& marked)
{
    marked = false;
    if (!PQenterPipelineMode(m_db))
        return nullptr;
    auto mark = [this](const char* sql) {
        return PQsendQueryParams(m_db, sql, 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
    };
    const int marks = m_savepointHeld ? 2 : 1;
    const bool sent = (!m_savepointHeld || mark("RELEASE SAVEPOINT vantrel_statement")) &&
                      mark("SAVEPOINT vantrel_statement") &&
                      PQsendQueryPrepared(m_db, name.constData(), static_cast<int>(values.size()),
                                          values.data(), nullptr, nullptr, 0) == 1 &&
                      PQpipelineSync(m_db) == 1;
    Result failedMark;
    Result result;
    bool marksHeld = true;
    if (sent) {
        // Each query's result ends in a null; the sync comes last.
        for (int query = 0; query <= marks; ++query) {
            Result one(PQgetResult(m_db));
            while (PGresult* more = PQgetResult(m_db))
                PQclear(more);
            if (query == marks) {
                result = std::move(one);
            } else if (marksHeld && (!one || PQresultStatus(one.get()) != PGRES_COMMAND_OK)) {
                marksHeld = false;
                failedMark = std::move(one);
            }
        }
        const Result sync(PQgetResult(m_db));
    }
    PQexitPipelineMode(m_db);
    if (!sent)
        return nullptr;
    if (!marksHeld)
        return failedMark;
    m_savepointHeld = true;
    marked = true;
    return result;
}

bool PgConnection::Begin(db::Transaction transaction)
{
    if (!Ready())
        return false;
    // The server would only warn and go on in the transaction already open.
    if (PQtransactionStatus(m_db) != PQTRANS_IDLE) {
        m_error = db::LayerError(db::ErrorKind::Failed,
                                 u"cannot start a transaction within a transaction"_s);
        return false;
    }
    QByteArray begin = "BEGIN ISOLATION LEVEL REPEATABLE READ";
    if (transaction == db::Transaction::Write)
        begin = "BEGIN; " + QByteArray(kWriteLock);
    else if (transaction == db::Transaction::Snapshot)
        begin += " READ ONLY";
    if (!Execute(begin)) {
        // A lock not given leaves the transaction begun and failed.
        const db::Error refused = m_error;
        Execute("ROLLBACK");
        m_error = refused;
        return false;
    }
    m_inTransaction = true;
    m_savepointHeld = false;
    m_unchangedSinceSavepoint = false;
    return true;
}

// The server only warns of a COMMIT or ROLLBACK with no transaction; a file refuses it.
bool PgConnection::InTransaction()
{
    if (PQtransactionStatus(m_db) != PQTRANS_IDLE)
        return true;
    m_error = db::LayerError(db::ErrorKind::Failed, u"No transaction is active."_s);
    return false;
}

bool PgConnection::Commit()
{
    if (!InTransaction())
        return false;
    const bool ok = Execute("COMMIT");
    // A COMMIT the server refuses ends the transaction all the same, as a lost session does.
    m_inTransaction = PQstatus(m_db) == CONNECTION_OK && PQtransactionStatus(m_db) != PQTRANS_IDLE;
    m_savepointHeld = m_savepointHeld && m_inTransaction;
    return ok;
}

bool PgConnection::Rollback()
{
    if (!InTransaction())
        return false;
    const bool ok = Execute("ROLLBACK");
    m_inTransaction = false;
    m_savepointHeld = false;
    return ok;
}

db::Statement* PgConnection::Prepared(const QString& sql)
{
    if (!Ready())
        return nullptr;
    // The statements of an ended session are gone from the server.
    if (m_cacheSession != m_session) {
        m_statements.Clear();
        m_cacheSession = m_session;
    }
    if (db::Statement* kept = m_statements.Find(sql))
        return kept;
    std::shared_ptr<PgStatement> statement = PgStatement::Prepare(*this, sql);
    return statement ? m_statements.Keep(sql, std::move(statement)) : nullptr;
}

std::shared_ptr<db::Statement> PgConnection::Borrow(const QString& sql)
{
    return Prepared(sql) ? m_statements.Take(sql) : nullptr;
}

void PgConnection::GiveBack(const QString& sql, std::shared_ptr<db::Statement> statement)
{
    // One of a session that ended meanwhile prepares itself again when it next runs.
    if (statement)
        m_statements.GiveBack(sql, std::move(statement));
}

db::Catalogue& PgConnection::Schema()
{
    return *m_catalogue;
}

QString PgConnection::TableName(unsigned int oid)
{
    const auto known = m_tableNames.constFind(oid);
    if (known != m_tableNames.constEnd())
        return *known;
    const QByteArray id = QByteArray::number(oid);
    const char* values[] = {id.constData()};
    const Result result = Guarded([&] {
        return Result(PQexecParams(m_db, "SELECT relname FROM pg_class WHERE oid = $1::oid", 1,
                                   nullptr, values, nullptr, nullptr, 0));
    });
    if (!result || PQresultStatus(result.get()) != PGRES_TUPLES_OK || PQntuples(result.get()) < 1)
        return {};
    const QString name = QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
    m_tableNames.insert(oid, name);
    return name;
}

} // namespace vantrel::postgres
