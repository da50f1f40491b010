#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace vantrel::db {

class Connection;

// Copying the program's data from one data source to another (a data file onto a server, a
// server into a backup file, a backup back onto the server), whatever their backends.

struct CopiedTable
{
    QString table; // as the schema names it
    qint64 rows = 0;
};

struct CopyReport
{
    bool copied = false;
    // Every table of the schema (power last) in order, with the rows it now holds.
    std::vector<CopiedTable> tables;
    QString error; // in Chinese, when nothing was copied
};

enum class CopyInto {
    // The target must hold none of the data: a table with rows refuses the copy. The
    // counters and the users it was set up with are replaced by the source's.
    Empty,
    // Whatever the target holds is deleted first (a restore).
    Replacing,
};

// Called before each table is copied, with its name; false stops the copy, which then fails
// (for tests that make it fail half-way).
using TableProbe = std::function<bool(const QString& table)>;

// Copies every table of the schema, `power` included, from what the source holds as one
// snapshot (a read transaction of the source) into the target, in one write transaction of
// the target: tables and columns the target lacks are made by its catalogue, every value goes
// bound and as stored (dates, text, numbers), each table's rows are counted on both sides
// after it is copied, and the target's stored initials are written with the names. The
// counters come from the source, so the next number taken on the target follows the source's;
// a counter the source lacks starts after its table's highest number. Any failure rolls the
// target back whole and says why.
CopyReport CopyData(Connection& source, Connection& target, CopyInto into = CopyInto::Empty,
                    const TableProbe& probe = {});

// "客户：12 条" lines of a report, one for each table that holds rows.
QString CopiedText(const CopyReport& report);

} // namespace vantrel::db
