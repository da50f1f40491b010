#pragma once

#include "data/dberror.h"

#include <QString>

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
    // Rows the last INSERT, UPDATE or DELETE changed.
    virtual qint64 Changes() const = 0;
    // The failure of the last call that failed on this connection.
    virtual Error LastError() const = 0;

    // Its tables and their columns.
    virtual Catalogue& Schema() = 0;
};

} // namespace vantrel::db
