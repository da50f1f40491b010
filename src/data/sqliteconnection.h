#pragma once

// Inside the access layer only: the SQLite handle behind a CADODatabase.

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrel::detail {

class Layout;

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

    // A prepared statement for the text, reset and unbound, kept for the next statement of the
    // same text; null with the code set when it cannot be prepared. The statement stays the
    // connection's: run it to the end (or reset it) before asking for another.
    sqlite3_stmt* Prepared(const QString& sql, int& code);
    // The column layout of a prepared statement, reused while the statement stays as prepared.
    std::shared_ptr<const Layout> LayoutOf(sqlite3_stmt* statement, bool hasRowId);

    // Lower-case names of the columns that hold no text in any table, and "table.column" for
    // each column that holds none in its table.
    const QSet<QString>& NonTextColumns();
    // Tables or columns were added: what was learnt about them is read again.
    void SchemaChanged();

private:
    Connection(sqlite3* db, const QString& path) : m_db(db), m_path(path) {}

    struct CachedStatement
    {
        sqlite3_stmt* statement = nullptr;
        quint64 lastUse = 0;
        std::shared_ptr<const Layout> layout;
        int reprepares = -1;
    };
    CachedStatement* Find(sqlite3_stmt* statement);

    sqlite3* m_db;
    QString m_path;
    QHash<QString, CachedStatement> m_statements;
    quint64 m_uses = 0;
    QSet<QString> m_nonText;
    bool m_nonTextKnown = false;
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
