#pragma once

#include "data/dbconnection.h"

#include <QString>

#include <memory>

namespace vantrel::db {

// Opens the data source a connection string names: "Data source = <path>", a data file, on
// the SQLite backend; "Provider=PostgreSQL;<libpq connection string>" (for instance
// "Provider=PostgreSQL;host=server port=5432 dbname=sales user=anna"), a database on a
// PostgreSQL server. Null on failure, with the reason in `error`. `busyTimeoutSeconds`: how
// long to wait for data another program holds, 0 for the default.
std::shared_ptr<Connection> OpenDataSource(const QString& connectionString, int busyTimeoutSeconds,
                                           Error& error);

// The path a connection string names, "" when it names none (a server's).
QString DataSourceOf(const QString& connectionString);
// Whether it names a PostgreSQL server; `conninfo` gets the libpq connection string after the
// provider, which may be empty (libpq then takes the PG… environment variables).
bool NamesServer(const QString& connectionString, QString* conninfo = nullptr);

} // namespace vantrel::db
