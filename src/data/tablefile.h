#pragma once

#include <QString>

#include <functional>
#include <vector>

// Tables taken out of the program into files other programs open: Excel workbooks (.xlsx)
// and comma-separated text (.csv). A file is written beside its target under a temporary name
// and put in place only when it is complete, so a failed or cancelled write leaves no partial
// file and an existing file of that name as it was.

// What a column's texts are. Cells that do not read as the column's kind (a totals row's
// "合计", an empty cell) stay text.
enum class TableCellKind {
    Text,
    Amount,   // "%.02lf"
    Percent,  // "%.02lf%"
    Date,     // "2024-3-5"
    DateTime, // "2024-3-5  9:7:0"
};

struct TableFileColumn
{
    QString title;
    int width = 100; // in screen pixels, as the list shows it
    TableCellKind kind = TableCellKind::Text;
};

// A table as a list shows it: the columns in order and each row's cell texts.
struct TableFileContent
{
    QString name; // what the table holds; names the worksheet
    std::vector<TableFileColumn> columns;
    int rowCount = 0;
    std::function<QString(int row, int column)> cell;
};

enum class TableFileFormat { Xlsx, Csv };

// The format a file name asks for by its suffix (".csv" for CSV, anything else Excel).
TableFileFormat TableFileFormatOf(const QString& path);

// Told how many rows are written so far; returning false cancels the write.
using TableFileProgress = std::function<bool(int written, int total)>;

enum class TableFileStatus {
    Written,
    Cancelled,
    MissingFolder, // the target's folder does not exist
    NoPermission,  // the folder takes no new file
    CannotReplace, // a file of that name is read-only, a folder, or could not be replaced
    TooManyRows,   // more rows than a worksheet holds
    WriteFailed,   // writing broke off (a full disk, a removed medium)
};

struct TableFileResult
{
    TableFileStatus status = TableFileStatus::Written;
    QString detail; // the system's own words on a failure, for the curious

    bool Written() const { return status == TableFileStatus::Written; }
};

TableFileResult WriteTableFile(const QString& path, TableFileFormat format,
                               const TableFileContent& content,
                               const TableFileProgress& progress = {});
