#include "data/datasource.h"

#include "data/filemaintenance.h"
#include "data/postgres/pgconnection.h"
#include "data/sqlite/sqliteconnection.h"
#include "data/sqlite/sqlitefilemaintenance.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace vantrel::db {

bool NamesServer(const QString& connectionString, QString* conninfo)
{
    static const QRegularExpression server(u"^\\s*provider\\s*=\\s*postgresql\\s*;(.*)$"_s,
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = server.match(connectionString);
    if (match.hasMatch() && conninfo)
        *conninfo = match.captured(1).trimmed();
    return match.hasMatch();
}

QString DataSourceOf(const QString& connectionString)
{
    if (NamesServer(connectionString))
        return {};
    static const QRegularExpression source(u"(?:^|;)\\s*data\\s+source\\s*=\\s*([^;]*)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = source.match(connectionString);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

std::shared_ptr<Connection> OpenDataSource(const QString& connectionString, int busyTimeoutSeconds,
                                           Error& error)
{
    QString conninfo;
    if (NamesServer(connectionString, &conninfo))
        return postgres::PgConnection::Open(conninfo, busyTimeoutSeconds, error);
    const QString path = DataSourceOf(connectionString);
    if (path.isEmpty()) {
        error = LayerError(ErrorKind::CantOpen, u"The connection string names no data source."_s);
        return nullptr;
    }
    return sqlite::SqliteConnection::Open(path, busyTimeoutSeconds, error);
}

// A server keeps its data itself.
const FileMaintenance* FileMaintenanceFor(const QString& connectionString)
{
    return DataSourceOf(connectionString).isEmpty() ? nullptr : &sqlite::FileMaintenance();
}

} // namespace vantrel::db
