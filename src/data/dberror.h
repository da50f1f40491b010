#pragma once

#include <QString>

// What went wrong in the database, in the access layer's own words. Every backend sorts its
// failures into these kinds, which the program decides by; its own code and texts go along for
// the report a failure leaves.
namespace vantrel::db {

enum class ErrorKind : quint8 {
    None,
    Busy,       // another program or workstation holds what the statement needs, for now
    ReadOnly,   // the data, or the place its journal goes, may only be read
    CantOpen,   // the data source cannot be reached or opened
    Failed,     // anything else: a statement refused, a broken rule, an I/O failure
    RowChanged, // the row was changed or deleted since it was read
    Misuse,     // the call does not fit: a closed connection, a statement with no text
    // The server went away (restarted, or this workstation's session ended): the transaction
    // that was open is lost; the next call outside a transaction connects again.
    ConnectionLost,
};

struct Error
{
    ErrorKind kind = ErrorKind::None;
    quint32 code = 0; // the backend's own number, or the layer's (LayerError)
    QString meaning;  // what the code means, in the words of whoever gave it
    QString source;   // who gave it: the backend's name, or the access layer
    QString message;  // the description of this failure
};

// A failure the access layer finds itself. Its numbers stay those it has always reported:
// 1 failed, 4 row changed, 5 busy, 8 read-only, 14 cannot open, 21 misuse.
Error LayerError(ErrorKind kind, const QString& message);

// "<className> Error\n\tCode = ...": the report every class of the layer keeps.
QString ErrorReport(const char* className, const Error& error);

// What the user is told of a save or a read the lost server connection stopped: the fixed
// sentence, then the reason the connection gave.
QString ConnectionLostText(const QString& reason);

} // namespace vantrel::db
