#pragma once

#include "data/dberror.h"

#include <QString>

#include <functional>
#include <memory>

// One open connection of a backend to a data source, used by one thread. Beneath CADODatabase
// and CADORecordset, which are the same on every backend.
namespace vantrel::db {

class Catalogue;
class Dialect;
class Statement;

enum class Transaction {
    Write, // takes the write lock at once, so two workstations never interleave changes
    Read,  // every statement sees the data as it was at the first; others go on writing
    // As Read, for a copy of the data; a server also refuses every write in it.
    Snapshot,
};

class Connection
{
public:
    virtual ~Connection() = default;

    // The data source, as opened: a file's path, a server's address.
    virtual QString Source() const = 0;
    // What the program's Jet statements become on this backend.
    virtual const Dialect& SqlDialect() const = 0;

    virtual bool Begin(Transaction transaction) = 0;
    virtual bool Commit() = 0;
    virtual bool Rollback() = 0;

    // A prepared statement for the text, reset and unbound, kept for the next statement of
    // the same text; null with LastError set when it cannot be prepared (Misuse for a text
    // with nothing to run). The statement stays the connection's: run it to the end (or reset
    // it) before asking for another.
    virtual Statement* Prepared(const QString& sql) = 0;
    // The same statement lent for a walk that reads its rows while other statements run: no
    // one else is handed it until GiveBack, reset, returns it to be kept.
    virtual std::shared_ptr<Statement> Borrow(const QString& sql) = 0;
    virtual void GiveBack(const QString& sql, std::shared_ptr<Statement> statement) = 0;
    // Rows the last INSERT, UPDATE or DELETE changed.
    virtual qint64 Changes() const = 0;
    // The failure of the last call that failed on this connection.
    virtual Error LastError() const = 0;

    // Its tables and their columns.
    virtual Catalogue& Schema() = 0;

    // Told the name of a table another workstation changed, soon after that change was
    // committed; never of this connection's own changes. Called from the event loop of the
    // connection's thread, never in the middle of a call on the connection. A server tells;
    // a data file tells nothing (its other users' changes are only seen on reading again), so
    // the default keeps no listener.
    using ChangeListener = std::function<void(const QString& table)>;
    virtual void SetChangeListener(ChangeListener listener) { Q_UNUSED(listener); }
};

} // namespace vantrel::db
