#pragma once

#include "data/adodatabase.h"
#include "data/datasource.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

// A fresh database made from the schema for one test, removed when the test ends. What a
// backend must provide for the data tests to run on it:
// - the connection string the access layer opens it by (the worker programs are given it too);
// - statements run outside the access layer, in the backend's own SQL, to set up or inspect
//   rows;
// - its tables and their columns as stored, read outside the access layer.
class TestDatabase
{
public:
    virtual ~TestDatabase() = default;

    virtual QString ConnectionString() const = 0;
    // Runs statements (several, separated by ';') outside the access layer.
    virtual void Exec(const QString& sql) const = 0;
    // The first column of the first row a statement returns, "<NULL>" for a NULL.
    virtual QString QueryValue(const QString& sql) const = 0;
    // The tables it holds, by name in order, without the engine's own.
    virtual QStringList Tables() const = 0;
    // A table's columns, in their order.
    virtual QStringList Columns(const QString& table) const = 0;
    // Makes the table rowlog (seq, op, id, <columns>) and keeps in it, by triggers, every row
    // written to or deleted from `table`: seq in the order they were written, op "INSERT",
    // "UPDATE" or "DELETE", id the row's identity, then the row's `columns` (as written, or
    // as they were before the delete). Whichever program writes the rows.
    virtual void LogRowChanges(const QString& table, const QStringList& columns) const = 0;

    // A new open connection to it through the access layer.
    std::unique_ptr<CADODatabase> Open() const
    {
        auto database = std::make_unique<CADODatabase>();
        EXPECT_TRUE(database->Open(ConnectionString())) << database->GetLastError().toStdString();
        return database;
    }
};

// A backend connection of its own to the data source a connection string names, below the
// access layer.
inline std::shared_ptr<vantrel::db::Connection> OpenBackend(const QString& connectionString)
{
    vantrel::db::Error error;
    auto connection = vantrel::db::OpenDataSource(connectionString, 0, error);
    EXPECT_TRUE(connection) << error.message.toStdString();
    return connection;
}
