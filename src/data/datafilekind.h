#pragma once

#include <QString>

class CADODatabase;
struct sqlite3;

// What a file is to the program. A data file of any version has the clients and the record
// counters; the upgrade adds whatever tables a later version brought. A database without any
// table can become a data file; anything else (another program's database, a file that is no
// database) is never written to.
enum class DataFileKind {
    Ours,
    Empty,   // a database without tables, or an empty file
    Foreign, // not a database, or another program's
};

// Looks at a file without changing its contents (a save that a crash cut short is rolled back,
// as any program opening the file would).
DataFileKind InspectDataFile(const QString& path);
DataFileKind InspectDataFile(sqlite3* db);
// The file of an open connection; Foreign when it is not open.
DataFileKind InspectDataFile(const CADODatabase& database);

// Makes a chosen file ready for use: a data file stays as it is, an empty database gets every
// table. False for a file that is not ours (nothing written), with the reason in `error`.
bool PrepareDataFile(const QString& path, QString* error = nullptr);
