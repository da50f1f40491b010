#pragma once

#include "data/storedvalues.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <span>
#include <vector>

class CADODatabase;
class CADORecordset;
class CRecordListModel;
struct CListRows;

struct ListColumn
{
    const char16_t* title;
    int width;
    const char* field; // the column of the table shown there
    CellFormat format = CellFormat::Text;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// The columns of one record list, in order. The list adds a last column of its own, untitled
// and 0 wide, that holds the record's number. Fillers and the dialogs that rewrite a row after
// a change use the same layout, so a row reads the same however it got there.
struct ListLayout
{
    std::span<const ListColumn> columns;
    int image = -1; // the rows' icon in the list's image list; -1 for none
    // When set, the icon follows this integer column: `image` when it is non-zero,
    // `imageWhenZero` when it is 0.
    const char* imageFlag = nullptr;
    int imageWhenZero = -1;
    // Whether the rows are records of the data file. Rows of the reference file have no number,
    // and their lists no number column.
    bool numbered = true;
};

// The icon of a row of the layout showing a record with these values.
int LayoutRowImage(const ListLayout& layout, const QVariantMap& values);

// Empties the list and lays its columns out, the number column last (when it has one).
void SetLayoutColumns(CRecordListModel& list, const ListLayout& layout);

// The text of a value as the column shows it: QString for text, a number for amounts and the
// sex, QDate or QDateTime for dates.
QString CellText(const ListColumn& column, const QVariant& value);

// The row texts of a record given by its values keyed by column name; columns without a value
// show "". Without the number column.
QStringList LayoutRowTexts(const ListLayout& layout, const QVariantMap& values);

// Runs the statement and makes a row for each record, walking the statement once: its columns'
// values as read, `overrides` standing in for stored values by column name, and the number
// last (column layout.columns.size()). False when the statement does not run or stops short.
bool ReadLayoutRows(CListRows& rows, const ListLayout& layout, CADODatabase* database,
                    const QString& sql, const QVariantMap& overrides = {});
// The same for the records `keep` accepts: it sees the recordset on each row before any column
// of the row is read, so a filter in the program reads only what it tests.
using LayoutRowFilter = std::function<bool(CADORecordset& recordset)>;
bool ReadFilteredLayoutRows(CListRows& rows, const ListLayout& layout, CADODatabase* database,
                            const QString& sql, const LayoutRowFilter& keep);
// The same rows appended to the list; the list is unchanged when the statement does not run.
bool AppendLayoutRows(CRecordListModel& list, const ListLayout& layout, CADODatabase* database,
                      const QString& sql, const QVariantMap& overrides = {});

// Rewrites row `item` from the record's values when that row still shows record `number`. A
// list of the layout's shape is written column by column; one filled with other columns (a
// find lists fewer) has each column take the layout column of its title. False when the row
// shows another record or none. The row's icon follows the values too.
bool RewriteLayoutRow(CRecordListModel& list, int item, int number, const ListLayout& layout,
                      const QVariantMap& values);
