#include "data/sqliteconnection.h"

#include "data/gbktext.h"
#include "data/jetsql.h"

#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace vantrel::detail {
namespace {

constexpr int kDefaultBusySeconds = 5;

int CompareCollation(void*, int aLength, const void* a, int bLength, const void* b)
{
    return CompareGbkUtf8(static_cast<const char*>(a), aLength, static_cast<const char*>(b),
                          bLength);
}

} // namespace

std::shared_ptr<Connection> Connection::Open(const QString& path, int busyTimeoutSeconds, int& code,
                                             QString& message)
{
    const QByteArray file = QFile::encodeName(path);
    sqlite3* db = nullptr;
    code = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (code != SQLITE_OK) {
        // A file the user may only read (an installed reference file) is still usable.
        sqlite3_close(db);
        db = nullptr;
        if (QFileInfo::exists(path))
            code = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    }
    auto fail = [&] {
        message =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
        sqlite3_close(db);
        return nullptr;
    };
    if (code != SQLITE_OK)
        return fail();
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(
        db, 1000 * (busyTimeoutSeconds > 0 ? busyTimeoutSeconds : kDefaultBusySeconds));
    // Reading the schema proves the file is a database and waits out a writer holding it.
    code = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        return fail();
    code = sqlite3_create_collation(db, jetsql::kCollation, SQLITE_UTF8, nullptr, CompareCollation);
    if (code != SQLITE_OK)
        return fail();
    return std::shared_ptr<Connection>(new Connection(db, path));
}

Connection::~Connection()
{
    sqlite3_close_v2(m_db);
}

QString Connection::ErrorMessage() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

int Connection::ErrorCode() const
{
    return sqlite3_extended_errcode(m_db);
}

void StatementDeleter::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

Statement Prepare(sqlite3* db, const QByteArray& sql, int& code)
{
    sqlite3_stmt* statement = nullptr;
    code =
        sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &statement, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return Statement(statement);
}

QString ErrorReport(const char* className, quint32 code, const QString& description)
{
    const char* meaning = sqlite3_errstr(static_cast<int>(code));
    return QString::asprintf("%s Error\n\tCode = %08lx\n\tCode meaning = %s\n\tSource = %s\n"
                             "\tDescription = %s\n",
                             className, static_cast<unsigned long>(code), meaning, "SQLite",
                             description.toUtf8().constData());
}

} // namespace vantrel::detail
