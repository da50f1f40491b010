#include "views/listlayout.h"

#include "data/eachrow.h"
#include "data/formats.h"
#include "kit/recordlistmodel.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

QString SexText(int sex)
{
    return sex != 0 ? u"女"_s : u"男"_s;
}

QString SettledText(int square)
{
    return square != 0 ? u"已结清"_s : u"未完成"_s;
}

QString DayText(const QDate& day)
{
    return day.isNull() ? QString() : FormatDate(day);
}

QString DiaryText(const QDate& day)
{
    return day.isNull() ? QString() : FormatDayWithWeekday(day);
}

// The text of the current row's field as the column shows it; the same as CellText of the
// value read, without making a QVariant of every cell of a long list.
QString ReadCellText(CADORecordset& recordset, const ListColumn& column, int field)
{
    switch (column.format) {
    case CellFormat::Text:
        break;
    case CellFormat::Amount:
    case CellFormat::Percent: {
        double number = 0.0;
        recordset.GetFieldDouble(field, number);
        return column.format == CellFormat::Amount ? FormatAmount(number) : FormatPercent(number);
    }
    case CellFormat::Date:
    case CellFormat::Diary: {
        QDate day;
        recordset.GetFieldDay(field, day);
        return column.format == CellFormat::Date ? DayText(day) : DiaryText(day);
    }
    case CellFormat::DateTime: {
        QDateTime stamp;
        recordset.GetFieldDate(field, stamp);
        return FormatDateTime(stamp);
    }
    case CellFormat::Sex:
    case CellFormat::Settled: {
        int value = 0;
        recordset.GetFieldInt(field, value);
        return column.format == CellFormat::Sex ? SexText(value) : SettledText(value);
    }
    }
    QString text;
    recordset.GetFieldText(field, text);
    return text;
}

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
    switch (column.format) {
    case CellFormat::Text:
        break;
    case CellFormat::Amount:
        return FormatAmount(value.toDouble());
    case CellFormat::Date:
    case CellFormat::Diary: {
        const QDate day =
            value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
        return column.format == CellFormat::Date ? DayText(day) : DiaryText(day);
    }
    case CellFormat::DateTime:
        return FormatDateTime(value.toDateTime());
    case CellFormat::Sex:
        return SexText(value.toInt());
    case CellFormat::Percent:
        return FormatPercent(value.toDouble());
    case CellFormat::Settled:
        return SettledText(value.toInt());
    }
    return value.toString();
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

bool ReadRows(std::vector<CListRow>& rows, const ListLayout& layout, CADODatabase* database,
              const QString& sql, const QVariantMap& overrides, const LayoutRowFilter& keep)
{
    CADORecordset recordset(database);
    if (!recordset.Open(sql))
        return false;
    // Places and overridden texts are found once, not once a row.
    struct Cell
    {
        const ListColumn* column;
        int field;
        bool overridden;
        QString text;
    };
    std::vector<Cell> cells;
    cells.reserve(layout.columns.size());
    for (const ListColumn& column : layout.columns) {
        const QString field = QString::fromLatin1(column.field);
        const auto it = overrides.constFind(field);
        const bool overridden = it != overrides.cend();
        cells.push_back({&column, recordset.GetFieldIndex(field), overridden,
                         overridden ? CellText(column, *it) : QString()});
    }
    if (!keep)
        rows.reserve(rows.size() + size_t(std::max(recordset.GetRecordCount(), 0)));
    const int numberField = recordset.GetFieldIndex(u"no"_s);
    const int imageFlag =
        layout.imageFlag ? recordset.GetFieldIndex(QString::fromLatin1(layout.imageFlag)) : -1;
    ForEachRow(recordset, [&] {
        if (keep && !keep(recordset))
            return;
        QStringList texts;
        texts.reserve(qsizetype(cells.size()) + 1);
        for (const Cell& cell : cells)
            texts << (cell.overridden ? cell.text
                                      : ReadCellText(recordset, *cell.column, cell.field));
        if (layout.numbered) {
            int no = 0;
            recordset.GetFieldInt(numberField, no);
            texts << FormatNumber(no);
        }
        int image = layout.image;
        if (layout.imageFlag) {
            int flag = 0;
            recordset.GetFieldInt(imageFlag, flag);
            image = flag != 0 ? layout.image : layout.imageWhenZero;
        }
        rows.push_back(CListRow{std::move(texts), image});
    });
    return true;
}

} // namespace

bool ReadLayoutRows(std::vector<CListRow>& rows, const ListLayout& layout, CADODatabase* database,
                    const QString& sql, const QVariantMap& overrides)
{
    return ReadRows(rows, layout, database, sql, overrides, {});
}

bool ReadFilteredLayoutRows(std::vector<CListRow>& rows, const ListLayout& layout,
                            CADODatabase* database, const QString& sql, const LayoutRowFilter& keep)
{
    return ReadRows(rows, layout, database, sql, {}, keep);
}

bool AppendLayoutRows(CRecordListModel& list, const ListLayout& layout, CADODatabase* database,
                      const QString& sql, const QVariantMap& overrides)
{
    std::vector<CListRow> rows;
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
