#pragma once

// Inside the access layer only: the SQLite handle behind a CADODatabase.

#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrel::detail {

class Connection
{
public:
    // Opens an existing file, read-write where allowed, otherwise read-only. Never creates
    // one. On failure returns null and sets the SQLite result code and message.
    static std::shared_ptr<Connection> Open(const QString& path, int busyTimeoutSeconds, int& code,
                                            QString& message);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* Handle() const { return m_db; }
    QString Path() const { return m_path; }
    QString ErrorMessage() const;
    int ErrorCode() const;

private:
    Connection(sqlite3* db, const QString& path) : m_db(db), m_path(path) {}
    sqlite3* m_db;
    QString m_path;
};

// Finalises a statement when it goes out of scope.
struct StatementDeleter
{
    void operator()(sqlite3_stmt* statement) const;
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// Prepares UTF-8 text; null with the code set on failure.
Statement Prepare(sqlite3* db, const QByteArray& sql, int& code);

// "CADORecordset Error\n\tCode = ...": the report every class of the layer keeps.
QString ErrorReport(const char* className, quint32 code, const QString& description);

} // namespace vantrel::detail
