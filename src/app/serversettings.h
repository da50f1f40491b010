#pragma once

#include <QString>

class CAppSettings;

// Where the workstation keeps its data: in a data file, or in a database on a server that the
// whole team uses.
enum class DataSourceKind { File, Server };

// How the connection to the server is protected.
enum class ServerEncryption {
    Off,      // "关闭"
    Required, // "必须加密": the connection is encrypted, the certificate is not checked
    Verified, // "验证服务器证书": encrypted, and the certificate is checked against a CA file
};

// The server the workstation uses, as setup.ini keeps it ("Settings" section). The password
// is never among them: it lives in the desktop's keyring (serverkeyring.h).
struct CServerSettings
{
    QString host;
    int port = 5432;
    QString database;
    QString user;
    ServerEncryption encryption = ServerEncryption::Off;
    QString caFile; // for Verified

    static DataSourceKind ReadKind(const CAppSettings& settings);
    static bool WriteKind(const CAppSettings& settings, DataSourceKind kind);
    static CServerSettings Read(const CAppSettings& settings);
    bool Write(const CAppSettings& settings) const;

    // Host, database and user are named.
    bool IsComplete() const;
    // "Provider=PostgreSQL;host=… port=… dbname=… user=… password=… sslmode=…", every value
    // quoted, so that no value can add a setting of its own. An empty password is left out.
    // A relative CA file is taken in `workFolder`.
    QString ConnectionString(const QString& password, const QString& workFolder = {}) const;
    // The server as messages name it, and as the keyring knows its password:
    // "user@host:port/database".
    QString Shown() const;

    bool operator==(const CServerSettings&) const = default;
};

// A value of a libpq connection string: in single quotes, with quotes and backslashes escaped.
QString ConninfoValue(const QString& value);
