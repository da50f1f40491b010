#include "views/listlayout.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "kit/recordlistmodel.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

// The layout column that list column `index` shows: the one in the same place when the list
// has the layout's shape, otherwise the one of the same title.
const ListColumn* ColumnAt(const CRecordListModel& list, const ListLayout& layout, int index)
{
    const auto& columns = layout.columns;
    if (list.GetColumnCount() == int(columns.size()) + 1)
        return &columns[size_t(index)];
    const QString& title = list.ColumnAt(index).title;
    for (const ListColumn& column : columns)
        if (title == QStringView(column.title))
            return &column;
    return nullptr;
}

} // namespace

void SetLayoutColumns(CRecordListModel& list, const ListLayout& layout)
{
    list.Clear();
    for (const ListColumn& column : layout.columns)
        list.InsertColumn(-1, QString::fromUtf16(column.title), column.alignment, column.width);
    if (layout.numbered)
        list.InsertColumn(-1, QString(), Qt::AlignLeft, 0);
}

QString CellText(const ListColumn& column, const QVariant& value)
{
    // Through the same formatting as a list's kept values, so a row rewritten after a change
    // reads as one the list read itself.
    CStoredValues values(1);
    values.AddRow();
    values.SetVariant(0, 0, value);
    values.SetFormat(0, 0, column.format);
    return FormatCell(values, values.At(0, 0));
}

int LayoutRowImage(const ListLayout& layout, const QVariantMap& values)
{
    if (!layout.imageFlag)
        return layout.image;
    return values.value(QString::fromLatin1(layout.imageFlag)).toInt() != 0 ? layout.image
                                                                            : layout.imageWhenZero;
}

QStringList LayoutRowTexts(const ListLayout& layout, const QVariantMap& values)
{
    QStringList cells;
    cells.reserve(qsizetype(layout.columns.size()) + 1);
    for (const ListColumn& column : layout.columns)
        cells << CellText(column, values.value(QString::fromLatin1(column.field)));
    return cells;
}

namespace {

bool ReadRows(CListRows& rows, const ListLayout& layout, CADODatabase* database, const QString& sql,
              const QVariantMap& overrides, const LayoutRowFilter& keep)
{
    CADORecordset recordset(database);
    if (!recordset.OpenForward(sql))
        return false;
    // Places and overridden values are found once, not once a row.
    struct Cell
    {
        int field;
        const QVariant* override;
        CellFormat format;
    };
    std::vector<Cell> cells;
    cells.reserve(layout.columns.size());
    for (const ListColumn& column : layout.columns) {
        const QString field = QString::fromLatin1(column.field);
        const auto it = overrides.constFind(field);
        cells.push_back({recordset.GetFieldIndex(field), it != overrides.cend() ? &*it : nullptr,
                         column.format});
    }
    const int width = int(cells.size()) + (layout.numbered ? 1 : 0);
    if (rows.values.Width() < width)
        rows.values.Widen(width);
    const int numberField = recordset.GetFieldIndex(u"no"_s);
    const int imageFlag =
        layout.imageFlag ? recordset.GetFieldIndex(QString::fromLatin1(layout.imageFlag)) : -1;
    ForEachRow(recordset, [&] {
        if (keep && !keep(recordset))
            return;
        int image = layout.image;
        if (layout.imageFlag) {
            int flag = 0;
            recordset.GetFieldInt(imageFlag, flag);
            image = flag != 0 ? layout.image : layout.imageWhenZero;
        }
        const int row = rows.Add(image);
        for (int column = 0; column < int(cells.size()); ++column) {
            const Cell& cell = cells[size_t(column)];
            if (cell.format != CellFormat::Text)
                rows.values.SetFormat(row, column, cell.format);
            if (cell.override)
                rows.values.SetVariant(row, column, *cell.override);
            else if (cell.field >= 0)
                recordset.StoreField(cell.field, rows.values, row, column);
        }
        if (layout.numbered) {
            int no = 0;
            recordset.GetFieldInt(numberField, no);
            rows.values.SetInteger(row, int(cells.size()), no);
        }
    });
    if (recordset.WalkSucceeded())
        return true;
    rows = CListRows(); // no list of some of the rows
    return false;
}

} // namespace

bool ReadLayoutRows(CListRows& rows, const ListLayout& layout, CADODatabase* database,
                    const QString& sql, const QVariantMap& overrides)
{
    return ReadRows(rows, layout, database, sql, overrides, {});
}

bool ReadFilteredLayoutRows(CListRows& rows, const ListLayout& layout, CADODatabase* database,
                            const QString& sql, const LayoutRowFilter& keep)
{
    return ReadRows(rows, layout, database, sql, {}, keep);
}

bool AppendLayoutRows(CRecordListModel& list, const ListLayout& layout, CADODatabase* database,
                      const QString& sql, const QVariantMap& overrides)
{
    CListRows rows;
    if (!ReadLayoutRows(rows, layout, database, sql, overrides))
        return false;
    list.AppendRows(std::move(rows));
    return true;
}

bool RewriteLayoutRow(CRecordListModel& list, int item, int number, const ListLayout& layout,
                      const QVariantMap& values)
{
    int shown = -1;
    if (item < 0 || item >= list.GetItemCount() || !list.RecordNumber(item, shown) ||
        shown != number)
        return false;
    // The last column keeps the number.
    for (int index = 0; index + 1 < list.GetColumnCount(); ++index) {
        if (const ListColumn* column = ColumnAt(list, layout, index))
            list.SetItemText(item, index,
                             CellText(*column, values.value(QString::fromLatin1(column->field))));
    }
    if (layout.imageFlag)
        list.SetItemImage(item, LayoutRowImage(layout, values));
    return true;
}
