#pragma once

#include "data/dbconnection.h"

#include <QString>

#include <memory>

namespace vantrel::db {

// Opens the data source a connection string names ("Data source = <path>", a data file, on
// the SQLite backend). Null on failure, with the reason in `error`. `busyTimeoutSeconds`: how
// long to wait for data another program holds, 0 for the default.
std::shared_ptr<Connection> OpenDataSource(const QString& connectionString, int busyTimeoutSeconds,
                                           Error& error);

// The path a connection string names, "" when it names none.
QString DataSourceOf(const QString& connectionString);

} // namespace vantrel::db
