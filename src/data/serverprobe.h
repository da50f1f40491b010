#pragma once

#include <QString>

namespace vantrel::db {

// What trying a database server found: whether the program can work on that database, and if
// not, where the way there ended.
enum class ServerProbe {
    Works,
    NoServer,             // nothing answers at that address and port (or the name is unknown)
    PasswordNeeded,       // the server asks for a password and none was given
    WrongPassword,        // the server refused the user name or the password
    Refused,              // the server's access rules turn this user away from this address
    NoDatabase,           // signed in, but there is no database of that name
    NoRights,             // the user may not connect to the database, or not make and use tables
    EncryptionRefused,    // encryption was required and the server does not offer it
    CertificateUntrusted, // the server's certificate does not pass the check against the CA file
    Failed,               // anything else: `detail` says what
};

struct ServerProbeResult
{
    ServerProbe outcome = ServerProbe::Failed;
    // The server's or the client library's own words, for the cases the outcome cannot name.
    QString detail;
};

// Tries the server a connection string names ("Provider=PostgreSQL;…", datasource.h): connects
// as it says, and checks that the user may make tables in an empty database, or read and write
// the tables of one that holds some. Nothing is written. Waits at most `timeoutSeconds` for each
// connection attempt.
ServerProbeResult ProbeServer(const QString& connectionString, int timeoutSeconds = 10);

} // namespace vantrel::db
