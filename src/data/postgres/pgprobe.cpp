#include "data/datasource.h"
#include "data/serverprobe.h"

#include <QDeadlineTimer>

#include <libpq-fe.h>
#include <poll.h>

#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

// libpq reports a failed connection as a sentence only, in the client's language, without the
// server's error code. What went wrong is told instead by how far the attempt got (the state
// it last reached) and by a second attempt on the server's maintenance database.
namespace vantrel::db {
namespace {

struct ConnectionOptions
{
    std::vector<std::string> keys;
    std::vector<std::string> values;

    void Set(const char* key, const QString& value)
    {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key) {
                values[i] = value.toStdString();
                return;
            }
        keys.emplace_back(key);
        values.push_back(value.toStdString());
    }
    QString Get(const char* key) const
    {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return QString::fromStdString(values[i]);
        return {};
    }
};

QString Text(const char* text)
{
    return QString::fromUtf8(text ? text : "").trimmed();
}

std::optional<ConnectionOptions> Parse(const QString& conninfo, QString& error)
{
    char* message = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(conninfo.toUtf8().constData(), &message);
    if (!parsed) {
        error = message ? Text(message) : u"out of memory"_s;
        PQfreemem(message);
        return std::nullopt;
    }
    ConnectionOptions options;
    for (const PQconninfoOption* option = parsed; option->keyword; ++option)
        if (option->val) {
            options.keys.emplace_back(option->keyword);
            options.values.emplace_back(option->val);
        }
    PQconninfoFree(parsed);
    return options;
}

struct Attempt
{
    PGconn* conn = nullptr;
    bool connected = false;
    // The last state the attempt was seen in before it failed; CONNECTION_NEEDED when it
    // failed before reaching any server.
    ConnStatusType last = CONNECTION_NEEDED;
    bool needsPassword = false;
    bool usedPassword = false;
    QString message;

    Attempt() = default;
    Attempt(const Attempt&) = delete;
    Attempt& operator=(const Attempt&) = delete;
    ~Attempt() { PQfinish(conn); }
};

// Connects without blocking, so that the states it passes through can be seen, and gives up
// at the deadline.
void Connect(const ConnectionOptions& options, int timeoutSeconds, Attempt& attempt)
{
    std::vector<const char*> keys;
    std::vector<const char*> values;
    for (std::size_t i = 0; i < options.keys.size(); ++i) {
        keys.push_back(options.keys[i].c_str());
        values.push_back(options.values[i].c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    attempt.conn = PQconnectStartParams(keys.data(), values.data(), 0);
    if (!attempt.conn) {
        attempt.message = u"out of memory"_s;
        return;
    }
    // Starting may already have reached the server (a local one answers at once).
    if (PQstatus(attempt.conn) != CONNECTION_BAD)
        attempt.last = PQstatus(attempt.conn);
    const QDeadlineTimer deadline{std::chrono::seconds(timeoutSeconds)};
    PostgresPollingStatusType polling = PGRES_POLLING_WRITING;
    while (PQstatus(attempt.conn) != CONNECTION_BAD && polling != PGRES_POLLING_OK) {
        pollfd wait{PQsocket(attempt.conn),
                    short(polling == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        const qint64 left = deadline.remainingTime();
        if (wait.fd < 0 || left <= 0 || ::poll(&wait, 1, int(left)) == 0) {
            attempt.message = u"timeout expired"_s;
            return;
        }
        polling = PQconnectPoll(attempt.conn);
        if (PQstatus(attempt.conn) != CONNECTION_BAD)
            attempt.last = PQstatus(attempt.conn);
    }
    attempt.connected = PQstatus(attempt.conn) == CONNECTION_OK;
    attempt.needsPassword = PQconnectionNeedsPassword(attempt.conn) == 1;
    attempt.usedPassword = PQconnectionUsedPassword(attempt.conn) == 1;
    attempt.message = Text(PQerrorMessage(attempt.conn));
}

bool ReachedServer(ConnStatusType last)
{
    return last != CONNECTION_NEEDED && last != CONNECTION_STARTED;
}

// One row of one value, "t" or a number.
QByteArray Value(PGconn* conn, const char* sql, const std::vector<const char*>& values = {})
{
    PGresult* result =
        PQexecParams(conn, sql, int(values.size()), nullptr, values.data(), nullptr, nullptr, 0);
    QByteArray value;
    if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1)
        value = PQgetvalue(result, 0, 0);
    PQclear(result);
    return value;
}

// A database without tables needs the right to make them; one with tables, the right to read
// and write every one.
ServerProbeResult CheckRights(PGconn* conn)
{
    const QByteArray tables = Value(conn, "SELECT count(*) FROM pg_tables WHERE schemaname = "
                                          "current_schema()");
    if (tables.isEmpty())
        return {ServerProbe::Failed, Text(PQerrorMessage(conn))};
    const QByteArray allowed =
        tables == "0"
            ? Value(conn, "SELECT coalesce(has_schema_privilege(current_schema(), 'CREATE') AND "
                          "has_schema_privilege(current_schema(), 'USAGE'), false)")
            : Value(conn, "SELECT bool_and(has_table_privilege(c.oid, 'SELECT') AND "
                          "has_table_privilege(c.oid, 'INSERT') AND "
                          "has_table_privilege(c.oid, 'UPDATE') AND "
                          "has_table_privilege(c.oid, 'DELETE')) FROM pg_class c "
                          "JOIN pg_namespace n ON n.oid = c.relnamespace "
                          "WHERE n.nspname = current_schema() AND c.relkind = 'r'");
    if (allowed.isEmpty())
        return {ServerProbe::Failed, Text(PQerrorMessage(conn))};
    return {allowed == "t" ? ServerProbe::Works : ServerProbe::NoRights, {}};
}

} // namespace

ServerProbeResult ProbeServer(const QString& connectionString, int timeoutSeconds)
{
    QString conninfo;
    if (!NamesServer(connectionString, &conninfo))
        return {ServerProbe::Failed, u"The connection string names no server."_s};
    QString error;
    std::optional<ConnectionOptions> options = Parse(conninfo, error);
    if (!options)
        return {ServerProbe::Failed, error};

    Attempt attempt;
    Connect(*options, timeoutSeconds, attempt);
    if (attempt.connected)
        return CheckRights(attempt.conn);
    if (!ReachedServer(attempt.last))
        return {ServerProbe::NoServer, attempt.message};
    if (attempt.last == CONNECTION_SSL_STARTUP) {
        const QString mode = options->Get("sslmode");
        if (mode != u"verify-ca"_s && mode != u"verify-full"_s)
            return {ServerProbe::EncryptionRefused, attempt.message};
        // A server that takes an encrypted connection when its certificate is not checked
        // offers encryption: its certificate is what failed.
        ConnectionOptions unchecked = *options;
        unchecked.Set("sslmode", u"require"_s);
        // With a CA file there, libpq checks the certificate even when only required to
        // encrypt: name one that cannot exist.
        unchecked.Set("sslrootcert", u"/dev/null/none"_s);
        Attempt again;
        Connect(unchecked, timeoutSeconds, again);
        return {again.last == CONNECTION_SSL_STARTUP && !again.connected
                    ? ServerProbe::EncryptionRefused
                    : ServerProbe::CertificateUntrusted,
                attempt.message};
    }
    if (attempt.needsPassword)
        return {ServerProbe::PasswordNeeded, attempt.message};
    if (attempt.last == CONNECTION_MADE)
        return {ServerProbe::Failed, attempt.message};
    // The sign-in or the database: the same user on the maintenance database tells them apart.
    ConnectionOptions maintenance = *options;
    maintenance.Set("dbname", u"postgres"_s);
    Attempt signIn;
    Connect(maintenance, timeoutSeconds, signIn);
    if (!signIn.connected)
        return {attempt.usedPassword ? ServerProbe::WrongPassword : ServerProbe::Refused,
                attempt.message};
    // Without a database name libpq takes the user's.
    const QString database = options->Get("dbname");
    const QByteArray name = (database.isEmpty() ? options->Get("user") : database).toUtf8();
    const QByteArray exists = Value(
        signIn.conn, "SELECT count(*) FROM pg_database WHERE datname = $1", {name.constData()});
    return {exists == "0" ? ServerProbe::NoDatabase : ServerProbe::NoRights, attempt.message};
}

} // namespace vantrel::db
