#include "data/sqlite/sqliteconnection.h"

#include "data/gbktext.h"
#include "data/sqlite/pinyinfunction.h"
#include "data/sqlite/sqlitecatalogue.h"
#include "data/sqlite/sqlitedialect.h"
#include "data/sqlite/sqlitestatement.h"

#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace vantrel::sqlite {
namespace {

constexpr int kDefaultBusySeconds = 5;

int CompareCollation(void*, int aLength, const void* a, int bLength, const void* b)
{
    return CompareGbkUtf8(static_cast<const char*>(a), aLength, static_cast<const char*>(b),
                          bLength);
}

db::ErrorKind KindOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_OK:
        return db::ErrorKind::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return db::ErrorKind::Busy;
    case SQLITE_READONLY:
        return db::ErrorKind::ReadOnly;
    case SQLITE_CANTOPEN:
        return db::ErrorKind::CantOpen;
    case SQLITE_MISUSE:
        return db::ErrorKind::Misuse;
    default:
        return db::ErrorKind::Failed;
    }
}

} // namespace

db::Error ErrorOf(int code, const QString& message)
{
    return db::Error{KindOf(code), static_cast<quint32>(code),
                     QString::fromUtf8(sqlite3_errstr(code)), u"SQLite"_s, message};
}

std::shared_ptr<SqliteConnection> SqliteConnection::Open(const QString& path,
                                                         int busyTimeoutSeconds, db::Error& error)
{
    const QByteArray file = QFile::encodeName(path);
    sqlite3* db = nullptr;
    // One thread uses a connection, so SQLite need not lock around every call.
    int code = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                               nullptr);
    if (code != SQLITE_OK) {
        // A file the user may only read (an installed reference file) is still usable.
        sqlite3_close(db);
        db = nullptr;
        if (QFileInfo::exists(path))
            code = sqlite3_open_v2(file.constData(), &db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    auto fail = [&] {
        error = ErrorOf(code, db ? QString::fromUtf8(sqlite3_errmsg(db))
                                 : QString::fromUtf8(sqlite3_errstr(code)));
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
    // A page cache large enough for the lists of a busy year (32 MB at most).
    sqlite3_exec(db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    code = sqlite3_create_collation(db, kCollation, SQLITE_UTF8, nullptr, CompareCollation);
    if (code == SQLITE_OK)
        code = RegisterPinyinFunction(db);
    if (code != SQLITE_OK)
        return fail();
    return std::shared_ptr<SqliteConnection>(new SqliteConnection(db, path));
}

SqliteConnection::SqliteConnection(sqlite3* db, const QString& path)
    : m_db(db), m_path(path), m_catalogue(std::make_unique<SqliteCatalogue>(*this))
{
}

SqliteConnection::~SqliteConnection()
{
    m_statements.Clear(); // finalised before the handle closes
    sqlite3_close_v2(m_db);
}

const db::Dialect& SqliteConnection::SqlDialect() const
{
    return Dialect();
}

void SqliteConnection::RecordFailure(int code)
{
    m_error = ErrorOf(code, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

bool SqliteConnection::Execute(const char* sql)
{
    const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        RecordFailure(code);
    return code == SQLITE_OK;
}

bool SqliteConnection::Begin(db::Transaction transaction)
{
    return Execute(transaction == db::Transaction::Write ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED");
}

bool SqliteConnection::Commit()
{
    return Execute("COMMIT");
}

bool SqliteConnection::Rollback()
{
    return Execute("ROLLBACK");
}

qint64 SqliteConnection::Changes() const
{
    return sqlite3_changes64(m_db);
}

db::Statement* SqliteConnection::Prepared(const QString& sql)
{
    if (db::Statement* kept = m_statements.Find(sql))
        return kept;
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int code = sqlite3_prepare_v3(m_db, utf8.constData(), static_cast<int>(utf8.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(statement);
        RecordFailure(code);
        return nullptr;
    }
    if (!statement) { // empty text or only a comment: nothing to run, nothing to keep
        m_error = ErrorOf(SQLITE_MISUSE, u"The statement has nothing to run."_s);
        return nullptr;
    }
    return m_statements.Keep(sql, std::make_shared<SqliteStatement>(*this, statement));
}

std::shared_ptr<db::Statement> SqliteConnection::Borrow(const QString& sql)
{
    return Prepared(sql) ? m_statements.Take(sql) : nullptr;
}

void SqliteConnection::GiveBack(const QString& sql, std::shared_ptr<db::Statement> statement)
{
    if (statement)
        m_statements.GiveBack(sql, std::move(statement));
}

db::Catalogue& SqliteConnection::Schema()
{
    return *m_catalogue;
}

sqlite3* HandleOf(const db::Connection* connection)
{
    const auto* ours = dynamic_cast<const SqliteConnection*>(connection);
    return ours ? ours->Handle() : nullptr;
}

} // namespace vantrel::sqlite

namespace vantrel::detail {

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

} // namespace vantrel::detail
