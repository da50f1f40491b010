#pragma once

// The start shared by the worker programs the data tests run as processes of their own: a
// core application, its arguments, and a connection to the data file they work on. Header
// only, so the workers link nothing but the data layer.

#include "data/adodatabase.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

// Opens the data file with a connection timeout of `timeoutSeconds` (the workers share the
// file with other processes); on failure tells the reason on stderr.
inline bool OpenDataFile(CADODatabase& db, const QString& dataFile, int timeoutSeconds)
{
    db.SetConnectionTimeout(timeoutSeconds);
    if (db.Open(CADODatabase::ConnectionStringFor(dataFile)))
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
    return false;
}

// Runs `work(db, arguments)` on the data file named by the first argument and returns its exit
// code; 2 when the program was not given `argumentCount` arguments (its own name counted), 1
// when the file does not open.
template <typename Work>
int RunOnDataFile(int argc, char** argv, qsizetype argumentCount, Work work)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != argumentCount)
        return 2;
    CADODatabase db;
    if (!OpenDataFile(db, arguments.at(1), 60))
        return 1;
    return work(db, arguments);
}
