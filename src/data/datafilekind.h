#pragma once

#include <QString>

class CADODatabase;

// What a file is to the program. A data file of any version has the clients and the record
// counters; the upgrade adds whatever tables a later version brought. A file of an earlier
// layout that lacks some of those is still ours, for the administrator to upgrade. A database
// without any table can become a data file; anything else (another program's database, a file
// that is no database) is never written to.
enum class DataFileKind {
    Ours,
    Old,     // some of the data tables, as this program made them, but not all it needs
    Empty,   // a database without tables, or an empty file
    Damaged, // a database by its header that cannot be read, or fails its check
    Foreign, // not a database, or another program's
};

// A data file, complete or of an earlier layout.
bool HoldsDataTables(DataFileKind kind);
// Whether the file begins as every SQLite database does.
bool HasDatabaseHeader(const QString& path);

// Looks at a file without changing its contents (a save that a crash cut short is rolled back,
// as any program opening the file would).
DataFileKind InspectDataFile(const QString& path);
// The file of an open connection; Foreign when it is not open.
DataFileKind InspectDataFile(const CADODatabase& database);

// InspectDataFile, and a data file must also pass SQLite's check of every page (the quick one,
// which reads the whole file once); one that fails it is Damaged, with the reason in Chinese.
DataFileKind CheckDataFile(const QString& path, QString* reason = nullptr);

// Makes a chosen file ready for use: a data file stays as it is, an empty database gets every
// table. False for a file that is not ours (nothing written), with the reason in `error`.
bool PrepareDataFile(const QString& path, QString* error = nullptr);

// Whether changes to the file of an open connection can be saved now.
enum class WriteAccess {
    Writable,
    ReadOnly, // the file, or its folder (where the journal goes), takes no writes
    Locked,   // another program holds the file and does not let go
};
WriteAccess ProbeWriteAccess(const CADODatabase& database);
