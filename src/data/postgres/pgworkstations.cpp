#include "data/postgres/pgworkstations.h"

#include "data/postgres/pgconnection.h"

#include <libpq-fe.h>

namespace vantrel::postgres {
namespace {

QByteArray Key()
{
    return QByteArray::number(PgConnection::kWorkstationKey);
}

// The single value a query returns, empty when it fails.
QByteArray Single(PgConnection& connection, const QByteArray& sql)
{
    const Result result =
        connection.Guarded([&] { return Result(PQexec(connection.Handle(), sql)); });
    if (!connection.Succeeded(result.get()) || PQntuples(result.get()) < 1)
        return {};
    return QByteArray(PQgetvalue(result.get(), 0, 0));
}

} // namespace

PgWorkstations::PgWorkstations(std::shared_ptr<PgConnection> connection)
    : m_connection(std::move(connection))
{
}

PgWorkstations::~PgWorkstations()
{
    ReleaseExclusive();
}

int PgWorkstations::OtherWorkstations()
{
    // A bigint key shows as classid 0, objid the key, objsubid 1; advisory locks belong to
    // their database.
    const QByteArray count = Single(
        *m_connection, "SELECT count(DISTINCT pid) FROM pg_catalog.pg_locks WHERE locktype = "
                       "'advisory' AND granted AND classid = 0 AND objsubid = 1 AND objid = " +
                           Key() +
                           " AND database = (SELECT oid FROM pg_catalog.pg_database WHERE "
                           "datname = current_database()) AND pid <> pg_backend_pid()");
    bool ok = false;
    const int others = count.toInt(&ok);
    return ok ? others : -1;
}

bool PgWorkstations::TryExclusive()
{
    if (m_exclusive)
        return true;
    // This session's own shared lock does not stand in its way.
    m_exclusive = Single(*m_connection, "SELECT pg_try_advisory_lock(" + Key() + ")") == "t";
    return m_exclusive;
}

void PgWorkstations::ReleaseExclusive()
{
    if (!m_exclusive)
        return;
    m_exclusive = false;
    Single(*m_connection, "SELECT pg_advisory_unlock(" + Key() + ")");
}

} // namespace vantrel::postgres
