#pragma once

// The start shared by the worker programs the data tests run as processes of their own: a
// core application, its arguments, and a connection to the database they work on. Header
// only, so the workers link nothing but the data layer.

#include "data/adodatabase.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

// Opens the database with a connection timeout of `timeoutSeconds` (the workers share it with
// other processes); on failure tells the reason on stderr.
inline bool OpenDatabase(CADODatabase& db, const QString& connectionString, int timeoutSeconds)
{
    db.SetConnectionTimeout(timeoutSeconds);
    if (db.Open(connectionString))
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
    return false;
}

inline bool OpenDataFile(CADODatabase& db, const QString& dataFile, int timeoutSeconds)
{
    return OpenDatabase(db, CADODatabase::ConnectionStringFor(dataFile), timeoutSeconds);
}

// Runs `work(db, arguments)` on the database whose connection string is the first argument
// and returns its exit code; 2 when the program was not given `argumentCount` arguments (its
// own name counted), 1 when the database does not open.
template <typename Work>
int RunOnDatabase(int argc, char** argv, qsizetype argumentCount, Work work)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != argumentCount)
        return 2;
    CADODatabase db;
    if (!OpenDatabase(db, arguments.at(1), 60))
        return 1;
    return work(db, arguments);
}
