#pragma once

#include "data/dberror.h"

#include <QString>

#include <memory>

class CChangeNotices;

namespace vantrel::db {
class Connection;
}

// An open connection to one data file. Never throws and never shows anything: every failure
// returns false and leaves a report in GetLastError().
class CADODatabase
{
public:
    CADODatabase();
    virtual ~CADODatabase();
    CADODatabase(const CADODatabase&) = delete;
    CADODatabase& operator=(const CADODatabase&) = delete;

    // The connection string names the file as "Data source = <path>"; see ConnectionStringFor.
    // A file that does not exist is never created; a file held by another program is waited
    // for (the connection timeout, a few seconds by default) before the open fails.
    bool Open(const QString& connectionString = {}, const QString& userId = {},
              const QString& password = {});
    void Close();
    bool IsOpen() const;

    QString GetConnectionString() const { return m_connectionString; }
    QString GetLastError() const { return m_lastError; }
    QString GetLastErrorDescription() const { return m_lastErrorDescription; }
    quint32 GetLastErrorCode() const { return m_lastErrorCode; }
    vantrel::db::ErrorKind GetLastErrorKind() const { return m_lastErrorKind; }
    int GetRecordsAffected() const { return m_recordsAffected; }
    // Seconds to wait for a file that another program holds; 0 keeps the default.
    void SetConnectionTimeout(int seconds) { m_connectionTimeout = seconds; }

    // Transactions take the file's write lock at once, so two workstations never interleave
    // their changes inside one.
    bool BeginTransaction();
    // A transaction that only reads: every statement in it sees the file as it was at the
    // first one, and other workstations may read and write meanwhile. Ends with Commit.
    bool BeginReadTransaction();
    bool CommitTransaction();
    bool RollbackTransaction();

    // "Provider=Microsoft.JET.OLEDB.4.0;Data source = <path>;Jet OLEDB:Database Password=..."
    static QString ConnectionStringFor(const QString& path);
    // The path a connection string names, "" when it names none.
    static QString DataSourceOf(const QString& connectionString);

    // The connection the recordsets and catalogue work on; null while closed.
    std::shared_ptr<vantrel::db::Connection> GetActiveConnection() const { return m_connection; }
    // Which tables other workstations change, for as long as the database lives, whatever
    // it opens; a data file announces none.
    CChangeNotices& ChangeNotices() const { return *m_notices; }

private:
    // Runs a call on the open connection and keeps its failure.
    template <typename Call> bool Run(Call call);
    void RecordError(const vantrel::db::Error& error);

    std::unique_ptr<CChangeNotices> m_notices;
    std::shared_ptr<vantrel::db::Connection> m_connection;
    QString m_connectionString;
    QString m_lastError;
    QString m_lastErrorDescription;
    quint32 m_lastErrorCode = 0;
    vantrel::db::ErrorKind m_lastErrorKind = vantrel::db::ErrorKind::None;
    int m_recordsAffected = 0;
    int m_connectionTimeout = 0;
};
