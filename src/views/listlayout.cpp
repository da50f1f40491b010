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
    // Places are found once, not once a row; what every row shows alike (the formats, the
    // overridden values) is written once into the row each row starts as.
    const int count = int(layout.columns.size());
    const int width = count + (layout.numbered ? 1 : 0);
    CStoredValues prototypeRow(width);
    prototypeRow.AddRow();
    std::vector<CADORecordset::StoredField> stored;
    std::vector<std::pair<const QVariant*, int>> textOverrides; // value, column
    for (int column = 0; column < count; ++column) {
        const ListColumn& listColumn = layout.columns[size_t(column)];
        const QString field = QString::fromLatin1(listColumn.field);
        prototypeRow.SetFormat(0, column, listColumn.format);
        const auto it = overrides.constFind(field);
        if (it != overrides.cend()) {
            prototypeRow.SetVariant(0, column, *it);
            // A text belongs in the block of texts of the rows themselves.
            if (prototypeRow.At(0, column).kind == CStoredValues::Kind::Text) {
                prototypeRow.SetNull(0, column);
                textOverrides.emplace_back(&*it, column);
            }
        } else if (const int place = recordset.GetFieldIndex(field); place >= 0) {
            stored.push_back({place, column});
        }
    }
    // A numbered list keeps each row's record number after its columns, read with them.
    if (layout.numbered) {
        if (const int numberField = recordset.GetFieldIndex(u"no"_s); numberField >= 0)
            stored.push_back({numberField, count});
        else
            prototypeRow.SetInteger(0, count, 0);
    }
    std::vector<CStoredValues::Value> prototype;
    for (int column = 0; column < width; ++column)
        prototype.push_back(prototypeRow.At(0, column));
    if (rows.values.Width() < width)
        rows.values.Widen(width);
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
        const int row = rows.Add(image, prototype);
        recordset.StoreFields(stored, rows.values, row);
        for (const auto& [value, column] : textOverrides)
            rows.values.SetVariant(row, column, *value);
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
