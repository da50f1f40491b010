#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class CADODatabase;

// Bringing a data file of an earlier layout up to the schema (schema.h): every missing table
// with its indexes, every missing column, and the record counters of snnumber. Rows and
// counters already there are never changed.

// What a data file lacks.
struct SchemaGaps
{
    QStringList tables;      // in the schema's order
    QStringList columns;     // of tables the file has, as "table.column"
    bool counterRow = false; // snnumber holds no row
    bool IsEmpty() const { return tables.isEmpty() && columns.isEmpty() && !counterRow; }
};

enum class UpgradeOutcome {
    Upgraded,     // `added` lists what the file gained
    UpToDate,     // nothing was missing; nothing was written, no copy made
    NotOurs,      // another program's database: never written to
    ReadOnly,     // the file may only be read
    Locked,       // another program holds the file for writing
    BackupFailed, // no copy could be made beside the file: nothing changed
    Failed,       // the upgrade did not go through: nothing changed
};

struct UpgradeResult
{
    UpgradeOutcome outcome = UpgradeOutcome::Failed;
    SchemaGaps added;
    QStringList restoredGroups; // of a groups table made anew, taken from the address book
    QString backup;             // the copy of the file as it was before, beside it
    QString error;
};

// Upgrades the data file of the program's open connection, which sees the new tables and
// columns at once. While it holds the file's write lock, it finds what is missing, writes a
// checked copy of the file into the file's folder (backup.h, named by `when`) and adds
// everything in one transaction. A counter added to snnumber starts after the highest number
// its table already holds, so it never hands out a number in use.
UpgradeResult UpgradeDataFile(CADODatabase& database, const QDateTime& when);
