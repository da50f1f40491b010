#pragma once

#include "app/serversettings.h"

#include <QString>

#include <memory>
#include <optional>

class CADODatabase;
class CADOXCatalog;
class CAppSettings;
class DataFileUsers;
namespace vantrel::db {
class FileMaintenance;
class Workstations;
} // namespace vantrel::db

// The program's connections for the whole run: the data file (its connection, its catalogue
// and this program's lock on it) and the reference file of postcodes and area codes.
class CDataConnections
{
public:
    explicit CDataConnections(const CAppSettings& settings);
    ~CDataConnections();
    CDataConnections(const CDataConnections&) = delete;
    CDataConnections& operator=(const CDataConnections&) = delete;

    // The data file as configured: relative names are within the working folder. Setting it
    // uses the file rather than a server.
    QString DataPath() const { return m_strDbPath; }
    void SetDataPath(const QString& path);
    // The data file in use as a full path ("" on a server), and the connection string of the
    // data in use, the file's or the server's.
    QString DataFilePath() const;
    QString DataConnectionString() const;

    // Uses a database on a server instead of a data file, with the password for this run.
    void UseServer(const CServerSettings& server, const QString& password);
    bool UsesServer() const { return m_server.has_value(); }
    // Null when a data file is used.
    const CServerSettings* Server() const { return m_server ? &*m_server : nullptr; }
    QString ServerPassword() const { return m_serverPassword; }
    // Where the data are, as messages name it: the file's path, or "user@host:port/database".
    QString DataSourceName() const;
    // The care of the data's file (compaction, backup, restore, check); null where the data is
    // kept by a server, which looks after it itself.
    const vantrel::db::FileMaintenance* FileCare() const;

    // Opens "data.db"; a failure leaves the connection closed and lookups find nothing.
    void OpenAreaDatabase();
    // Takes this program's lock on the data file for the run, compacting the file first when
    // nobody else uses it. Whatever the outcome, the file is used as it then is.
    void CompactDataFile();
    // Opens the catalogue and the connection on the data file. On a server the connection
    // also counts this program among the workstations for the run; when the server does not
    // let it (another program has the data to itself), the connection is closed again.
    void OpenDatabase();
    // Uses this connection as the data file's (tests open their own file).
    void UseDatabase(std::unique_ptr<CADODatabase> database);
    // Closes the connections once the data file was settled, and lets go of the lock.
    void Close();

    // Whether a data file was settled, so that there is something to close.
    bool IsReady() const { return m_bDbReady; }
    void SetReady(bool ready) { m_bDbReady = ready; }

    // Null before they are opened.
    CADODatabase* Database() const { return m_pDb.get(); }
    CADODatabase* ReferenceDatabase() const { return m_pAreaDb.get(); }
    CADOXCatalog* Catalog() const { return m_pCatalog.get(); }
    // This program's lock on the data file; null before start-up has taken it.
    DataFileUsers* Users() const { return m_users.get(); }
    // This program's place among the workstations of the server; null on a data file.
    vantrel::db::Workstations* Workstations() const { return m_workstations.get(); }

private:
    void JoinWorkstations();

    const CAppSettings& m_settings;
    QString m_strDbPath;
    std::optional<CServerSettings> m_server;
    QString m_serverPassword;
    std::unique_ptr<CADODatabase> m_pDb;
    std::unique_ptr<CADODatabase> m_pAreaDb;
    std::unique_ptr<CADOXCatalog> m_pCatalog;
    // Marks the data file as in use by this program for the whole run.
    std::unique_ptr<DataFileUsers> m_users;
    std::unique_ptr<vantrel::db::Workstations> m_workstations;
    bool m_bDbReady = false;
};
