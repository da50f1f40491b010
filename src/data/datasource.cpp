#include "data/datasource.h"

#include "data/filemaintenance.h"
#include "data/sqlite/sqliteconnection.h"
#include "data/sqlite/sqlitefilemaintenance.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace vantrel::db {

QString DataSourceOf(const QString& connectionString)
{
    static const QRegularExpression source(u"(?:^|;)\\s*data\\s+source\\s*=\\s*([^;]*)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = source.match(connectionString);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

std::shared_ptr<Connection> OpenDataSource(const QString& connectionString, int busyTimeoutSeconds,
                                           Error& error)
{
    const QString path = DataSourceOf(connectionString);
    if (path.isEmpty()) {
        error = LayerError(ErrorKind::CantOpen, u"The connection string names no data source."_s);
        return nullptr;
    }
    return sqlite::SqliteConnection::Open(path, busyTimeoutSeconds, error);
}

// Every connection string names a data file today.
const FileMaintenance* FileMaintenanceFor(const QString& connectionString)
{
    return DataSourceOf(connectionString).isEmpty() ? nullptr : &sqlite::FileMaintenance();
}

} // namespace vantrel::db
