#pragma once

// The SQLite backend: a data file opened by the SQLite library.

#include "data/dbconnection.h"
#include "data/statementcache.h"

#include <QByteArray>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrel::sqlite {

class SqliteCatalogue;
class SqliteStatement;

class SqliteConnection final : public db::Connection
{
public:
    // Opens an existing file, read-write where allowed, otherwise read-only. Never creates
    // one. On failure returns null and sets `error`.
    static std::shared_ptr<SqliteConnection> Open(const QString& path, int busyTimeoutSeconds,
                                                  db::Error& error);
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    QString Source() const override { return m_path; }
    const db::Dialect& SqlDialect() const override;
    bool Begin(db::Transaction transaction) override;
    bool Commit() override;
    bool Rollback() override;
    db::Statement* Prepared(const QString& sql) override;
    std::shared_ptr<db::Statement> Borrow(const QString& sql) override;
    void GiveBack(const QString& sql, std::shared_ptr<db::Statement> statement) override;
    qint64 Changes() const override;
    db::Error LastError() const override { return m_error; }
    db::Catalogue& Schema() override;

    sqlite3* Handle() const { return m_db; }
    // Keeps the connection's last failure, for a SQLite result code.
    void RecordFailure(int code);

private:
    SqliteConnection(sqlite3* db, const QString& path);
    bool Execute(const char* sql);

    sqlite3* m_db;
    QString m_path;
    db::Error m_error;
    db::StatementCache m_statements;
    std::unique_ptr<SqliteCatalogue> m_catalogue;
};

// The SQLite handle of a connection, null when it is another backend's or none.
sqlite3* HandleOf(const db::Connection* connection);

// A failure as SQLite reports it: its kind, code and meaning, with `message`.
db::Error ErrorOf(int code, const QString& message);

} // namespace vantrel::sqlite

namespace vantrel::detail {

// Finalises a statement when it goes out of scope.
struct StatementDeleter
{
    void operator()(sqlite3_stmt* statement) const;
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// Prepares UTF-8 text; null with the code set on failure.
Statement Prepare(sqlite3* db, const QByteArray& sql, int& code);

} // namespace vantrel::detail
