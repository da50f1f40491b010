#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// Tables brought into the program from files other programs write: the first worksheet of an
// Excel workbook (.xlsx) or comma-separated text (.csv). Every cell arrives as the text a user
// sees in it: numbers without a needless exponent, dates as the lists write them ("2024-3-5"),
// yes/no as TRUE/FALSE.

struct ImportTable
{
    // The first row is the header. Rows with no text at all are left out; each row ends at its
    // last cell with text.
    std::vector<QStringList> rows;
};

enum class ImportTableStatus {
    Read,
    CannotOpen,  // the file does not exist or cannot be read
    UnknownKind, // neither .xlsx nor .csv
    NotWorkbook, // named .xlsx but no zip file
    OldWorkbook, // an Excel 97-2003 workbook (.xls) under the name
    Damaged,     // a zip file or worksheet that breaks off or does not read
    NotText,     // named .csv but binary
    Empty,       // no row at all
    TooManyRows, // more rows than an import takes
    TooLarge,    // more text than an import takes
};

struct ImportTableResult
{
    ImportTableStatus status = ImportTableStatus::Read;
    QString message; // what to tell the user when the file was not read

    bool Read() const { return status == ImportTableStatus::Read; }
};

// Rows below the header that one import takes; a file with more is refused as a whole, read
// only as far as the first row too many.
inline constexpr int kImportMaxRows = 100000;
// A cell is kept up to this many characters and one more, so that a longer one is still seen
// as too long without holding all of it.
inline constexpr int kImportMaxCellLength = 1000000;

// Reads the file by its suffix (.xlsx or .csv, letter case aside).
ImportTableResult ReadImportTable(const QString& path, ImportTable& table,
                                  int maxRows = kImportMaxRows);
ImportTableResult ReadXlsxTable(const QString& path, ImportTable& table,
                                int maxRows = kImportMaxRows);
ImportTableResult ReadCsvTable(const QByteArray& bytes, ImportTable& table,
                               int maxRows = kImportMaxRows);

// CSV text: UTF-8 with or without its byte-order mark, UTF-16 with its mark, otherwise the
// users' code page (GBK) when the bytes are no valid UTF-8.
QString DecodeCsvText(const QByteArray& bytes);
// The separator the first line uses most, outside quotes: comma, semicolon or tab; a comma
// when it uses none.
QChar CsvSeparator(QStringView text);

// Whether a cell's number format shows a date or a time: the built-in ones (14-22 and the
// East Asian 27-36, 45-47, 50-58) or a format code with y, m, d, h or s outside quotes and
// brackets.
bool IsDateFormat(int numFmtId, const QString& formatCode);
