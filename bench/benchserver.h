#pragma once

// The server side of the benchmarks: when the usual libpq environment variables name a
// PostgreSQL server (PGHOST or PGPORT set; PGUSER, PGDATABASE and the rest as libpq takes
// them), the benchmarks run their work a second time on a fresh database there, made and
// dropped by the benchmark itself.

#include "benchkit.h"
#include "data/adodatabase.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <libpq-fe.h>

#include <cstdio>
#include <variant>
#include <vector>

namespace benchkit {

// Whether the environment names a server to run on as well.
inline bool ServerNamed()
{
    return !qEnvironmentVariableIsEmpty("PGHOST") || !qEnvironmentVariableIsEmpty("PGPORT");
}

// Runs a command; false, with the server's message on stderr, when it fails.
inline bool Command(PGconn* db, const QString& sql)
{
    PGresult* result = PQexec(db, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(result);
    const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    if (!ok)
        std::fprintf(stderr, "%s: %s", qPrintable(sql), PQerrorMessage(db));
    PQclear(result);
    return ok;
}

// Reads every cell of a query's rows as text, the way libpq gives them: the least any reader
// of the same rows has to do over the wire.
inline void ReadAll(PGconn* db, const char* sql)
{
    PGresult* result = PQexec(db, sql);
    const int rows = PQntuples(result);
    const int columns = PQnfields(result);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (!PQgetisnull(result, row, column))
                PQgetvalue(result, row, column);
    PQclear(result);
}

// A database of its own on the server, "vantrel_bench_<pid>", with the program's schema;
// dropped again when it goes.
class ServerDatabase
{
public:
    ServerDatabase()
        : m_name(QStringLiteral("vantrel_bench_%1").arg(QCoreApplication::applicationPid()))
    {
        PGconn* server = Maintenance();
        if (!server)
            return;
        // Text compares as on a file: ASCII letters case-blind, nothing else folded.
        m_made = Command(server, QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_name)) &&
                 Command(server, QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING "
                                                "'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'")
                                     .arg(m_name));
        PQfinish(server);
        if (!m_made)
            return;
        m_raw = PQconnectdb((QStringLiteral("dbname=") + m_name).toUtf8().constData());
        if (PQstatus(m_raw) != CONNECTION_OK) {
            std::fprintf(stderr, "cannot reach %s: %s", qPrintable(m_name), PQerrorMessage(m_raw));
            return;
        }
        PQclear(PQexec(m_raw, "SET client_min_messages = warning"));
        CADODatabase db;
        QString error;
        if (!db.Open(ConnectionString()) || !UpgradeDatabase(db, &error)) {
            std::fprintf(stderr, "cannot make the schema in %s: %s %s\n", qPrintable(m_name),
                         qPrintable(db.GetLastError()), qPrintable(error));
            return;
        }
        m_ready = true;
    }
    ~ServerDatabase()
    {
        PQfinish(m_raw);
        if (!m_made)
            return;
        if (PGconn* server = Maintenance()) {
            Command(server, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
            PQfinish(server);
        }
    }
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    bool Ready() const { return m_ready; }
    QString Name() const { return m_name; }
    // How the program opens it; the server's address comes from the environment.
    QString ConnectionString() const
    {
        return QStringLiteral("Provider=PostgreSQL;dbname=") + m_name;
    }
    // A connection of its own, outside the access layer.
    PGconn* Raw() const { return m_raw; }

private:
    // The database new ones are made from: PGDATABASE's, else "postgres".
    static PGconn* Maintenance()
    {
        const QByteArray conninfo =
            qEnvironmentVariableIsEmpty("PGDATABASE") ? "dbname=postgres" : "";
        PGconn* server = PQconnectdb(conninfo.constData());
        if (PQstatus(server) == CONNECTION_OK) {
            PQclear(PQexec(server, "SET client_min_messages = warning"));
            return server;
        }
        std::fprintf(stderr, "cannot reach the server: %s", PQerrorMessage(server));
        PQfinish(server);
        return nullptr;
    }

    QString m_name;
    PGconn* m_raw = nullptr;
    bool m_made = false;
    bool m_ready = false;
};

// Fills a server database in one transaction through COPY, then has the server gather its
// figures on the tables, as it soon does by itself on a database in use.
class ServerFiller final : public Filler
{
public:
    explicit ServerFiller(PGconn* db) : m_db(db) { Command(m_db, QStringLiteral("BEGIN")); }
    ~ServerFiller() override
    {
        EndCopy();
        Command(m_db, QStringLiteral("COMMIT"));
        Command(m_db, QStringLiteral("VACUUM ANALYZE"));
    }
    ServerFiller(const ServerFiller&) = delete;
    ServerFiller& operator=(const ServerFiller&) = delete;

    void Table(const char* table, const QStringList& columns) override
    {
        EndCopy();
        const QString copy = QStringLiteral("COPY %1 (%2) FROM STDIN")
                                 .arg(QString::fromUtf8(table), columns.join(u", "));
        PGresult* result = PQexec(m_db, copy.toUtf8().constData());
        m_copying = PQresultStatus(result) == PGRES_COPY_IN;
        if (!m_copying)
            std::fprintf(stderr, "%s: %s", qPrintable(copy), PQerrorMessage(m_db));
        PQclear(result);
    }
    void Row(const std::vector<FillValue>& values) override
    {
        bool first = true;
        for (const FillValue& value : values) {
            if (!first)
                m_buffer += '\t';
            first = false;
            if (const auto* integer = std::get_if<qint64>(&value))
                m_buffer += QByteArray::number(*integer);
            else if (const auto* real = std::get_if<double>(&value))
                m_buffer += QByteArray::number(*real, 'g', 17);
            else if (const auto* text = std::get_if<QString>(&value))
                AppendEscaped(text->toUtf8());
            else
                m_buffer += "\\N";
        }
        m_buffer += '\n';
        if (m_buffer.size() > (1 << 20))
            Flush();
    }
    void Exec(const QString& sql) override
    {
        EndCopy();
        Command(m_db, sql);
    }

private:
    // COPY's text format: backslash, tab and line ends escaped.
    void AppendEscaped(const QByteArray& text)
    {
        for (const char c : text) {
            switch (c) {
            case '\\':
                m_buffer += "\\\\";
                break;
            case '\t':
                m_buffer += "\\t";
                break;
            case '\n':
                m_buffer += "\\n";
                break;
            case '\r':
                m_buffer += "\\r";
                break;
            default:
                m_buffer += c;
            }
        }
    }
    void Flush()
    {
        if (m_copying && !m_buffer.isEmpty())
            PQputCopyData(m_db, m_buffer.constData(), int(m_buffer.size()));
        m_buffer.clear();
    }
    void EndCopy()
    {
        if (!m_copying)
            return;
        Flush();
        m_copying = false;
        PQputCopyEnd(m_db, nullptr);
        while (PGresult* result = PQgetResult(m_db)) {
            if (PQresultStatus(result) != PGRES_COMMAND_OK)
                std::fprintf(stderr, "COPY: %s", PQerrorMessage(m_db));
            PQclear(result);
        }
    }

    PGconn* m_db;
    QByteArray m_buffer;
    bool m_copying = false;
};

// Fills a fresh server database through `generate(filler)` and opens the access layer's
// connection on it; false, with the reason on stderr, when it cannot.
template <typename Generate>
bool OpenFilled(ServerDatabase& server, CADODatabase& db, Generate&& generate)
{
    if (!server.Ready())
        return false;
    QElapsedTimer timer;
    timer.start();
    {
        ServerFiller fill(server.Raw());
        generate(fill);
    }
    std::printf("server database %s filled in %.2f s\n", qPrintable(server.Name()),
                timer.nsecsElapsed() / 1e9);
    if (db.Open(server.ConnectionString()))
        return true;
    std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
    return false;
}

// The ratio of a server figure to the same on a file, as it is printed.
inline void PrintRatio(const char* what, double file, double server)
{
    std::printf("  %-44s SQLite %.3f s   server %.3f s   server/SQLite %.2f\n", what, file, server,
                server / file);
}

} // namespace benchkit
