#include "data/sqliteconnection.h"

#include "data/gbktext.h"
#include "data/jetsql.h"
#include "data/pinyin.h"
#include "data/resultset.h"

#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace vantrel::detail {
namespace {

constexpr int kDefaultBusySeconds = 5;
constexpr int kCachedStatements = 48;

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
    // One thread uses a connection, so SQLite need not lock around every call.
    code = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
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
    // A page cache large enough for the lists of a busy year (32 MB at most).
    sqlite3_exec(db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    code = sqlite3_create_collation(db, jetsql::kCollation, SQLITE_UTF8, nullptr, CompareCollation);
    if (code == SQLITE_OK)
        code = RegisterPinyinFunction(db);
    if (code != SQLITE_OK)
        return fail();
    return std::shared_ptr<Connection>(new Connection(db, path));
}

Connection::~Connection()
{
    for (const CachedStatement& cached : std::as_const(m_statements))
        sqlite3_finalize(cached.statement);
    sqlite3_close_v2(m_db);
}

sqlite3_stmt* Connection::Prepared(const QString& sql, int& code)
{
    code = SQLITE_OK;
    auto found = m_statements.find(sql);
    if (found != m_statements.end()) {
        found->lastUse = ++m_uses;
        sqlite3_reset(found->statement);
        sqlite3_clear_bindings(found->statement);
        return found->statement;
    }
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    code = sqlite3_prepare_v3(m_db, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    if (!statement) { // empty text or only a comment: nothing to run, nothing to keep
        code = SQLITE_MISUSE;
        return nullptr;
    }
    if (m_statements.size() >= kCachedStatements) {
        auto oldest = m_statements.begin();
        for (auto it = m_statements.begin(); it != m_statements.end(); ++it)
            if (it->lastUse < oldest->lastUse)
                oldest = it;
        sqlite3_finalize(oldest->statement);
        m_statements.erase(oldest);
    }
    m_statements.insert(sql, CachedStatement{statement, ++m_uses, nullptr, -1});
    return statement;
}

Connection::CachedStatement* Connection::Find(sqlite3_stmt* statement)
{
    for (CachedStatement& cached : m_statements)
        if (cached.statement == statement)
            return &cached;
    return nullptr;
}

std::shared_ptr<const Layout> Connection::LayoutOf(sqlite3_stmt* statement, bool hasRowId)
{
    // A statement prepared again (the tables changed) may have other columns.
    const int reprepares = sqlite3_stmt_status(statement, SQLITE_STMTSTATUS_REPREPARE, 0);
    CachedStatement* cached = Find(statement);
    if (cached && cached->layout && cached->reprepares == reprepares)
        return cached->layout;
    auto layout = std::make_shared<const Layout>(statement, hasRowId);
    if (cached) {
        cached->layout = layout;
        cached->reprepares = reprepares;
    }
    return layout;
}

const QSet<QString>& Connection::NonTextColumns()
{
    if (m_nonTextKnown)
        return m_nonText;
    m_nonTextKnown = true;
    m_nonText.clear();
    QSet<QString> text;
    int code = SQLITE_OK;
    const Statement columns =
        Prepare(m_db,
                "SELECT lower(p.name), upper(p.type), lower(m.name) FROM sqlite_master AS m, "
                "pragma_table_info(m.name) AS p WHERE m.type = 'table'",
                code);
    QSet<QString> qualified;
    auto column = [&](int index) {
        return QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), index)));
    };
    while (columns && sqlite3_step(columns.get()) == SQLITE_ROW) {
        const QString name = column(0);
        const QByteArray type(reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1)));
        // Dates are stored as text, but as digits: no collation changes their order, and no
        // letter case their equality.
        const bool holdsText =
            !(type.startsWith("INT") || type.startsWith("DOUBLE") || type.startsWith("REAL") ||
              type.startsWith("BOOL") || type.startsWith("DATE"));
        (holdsText ? text : m_nonText).insert(name);
        if (!holdsText)
            qualified.insert(column(2) + u'.' + name);
    }
    m_nonText.subtract(text);
    m_nonText.unite(qualified);
    return m_nonText;
}

void Connection::SchemaChanged()
{
    m_nonTextKnown = false;
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
