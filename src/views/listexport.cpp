#include "views/listexport.h"

#include "data/displayedvalues.h"
#include "kit/recordlistmodel.h"
#include "views/recordlistview.h"
#include "views/totalsrow.h"
#include "views/vantrelview.h"

#include <QHeaderView>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

bool ReadsAs(TableCellKind kind, QStringView text)
{
    switch (kind) {
    case TableCellKind::Text:
        return true;
    case TableCellKind::Amount:
        return DisplayedAmount(text).has_value();
    case TableCellKind::Percent:
        return DisplayedPercent(text).has_value();
    case TableCellKind::Date:
        return DisplayedDate(text).has_value();
    case TableCellKind::DateTime:
        return DisplayedDateTime(text).has_value();
    }
    return false;
}

// The kind a kept number or date reads as in its format, without making its text; none when
// only the text can tell.
std::optional<TableCellKind> KeptKind(const CStoredValues& values,
                                      const CStoredValues::Value& value)
{
    using Kind = CStoredValues::Kind;
    const bool number = value.kind == Kind::Integer || value.kind == Kind::Real;
    // A day of years 1 to 9999, which the display formats write in full.
    auto inRange = [&] {
        if (value.kind != Kind::DateTime)
            return false;
        const int year = values.DateTime(value).date().year();
        return year >= 1 && year <= 9999;
    };
    switch (value.format) {
    case CellFormat::Amount:
    case CellFormat::Percent:
        // Hundredths that a double holds exactly, as their texts read back.
        if (number && std::abs(values.Number(value)) < 1e13)
            return value.format == CellFormat::Amount ? TableCellKind::Amount
                                                      : TableCellKind::Percent;
        break;
    case CellFormat::Date:
        if (inRange())
            return TableCellKind::Date;
        break;
    case CellFormat::DateTime:
        if (inRange())
            return TableCellKind::DateTime;
        break;
    default:
        break;
    }
    return std::nullopt;
}

// The kind every non-empty cell of the column reads as over rows 0..rows-1; Text when there is
// none or they differ.
TableCellKind ColumnKind(const CRecordListModel& list, int column, int rows)
{
    static constexpr std::array kCandidates = {TableCellKind::Amount, TableCellKind::Percent,
                                               TableCellKind::Date, TableCellKind::DateTime};
    TableCellKind kind = TableCellKind::Text;
    for (int row = 0; row < rows; ++row) {
        if (const auto kept = KeptKind(list.Values(), list.GetItemValue(row, column))) {
            if (kind == TableCellKind::Text)
                kind = *kept;
            else if (kind != *kept)
                return TableCellKind::Text;
            continue;
        }
        const QString text = list.GetItemText(row, column);
        if (text.isEmpty())
            continue;
        if (kind == TableCellKind::Text) {
            // The first value names the candidate; a text of no kind ends the search.
            const auto match = std::find_if(kCandidates.begin(), kCandidates.end(),
                                            [&](TableCellKind k) { return ReadsAs(k, text); });
            if (match == kCandidates.end())
                return TableCellKind::Text;
            kind = *match;
        } else if (!ReadsAs(kind, text)) {
            return TableCellKind::Text;
        }
    }
    return kind;
}

} // namespace

int ListRecordRows(const CRecordListView& view)
{
    const CRecordListModel& list = view.List();
    return list.GetItemCount() - (HasTotalsRow(list) ? 1 : 0);
}

TableFileContent ListContent(const CRecordListView& view, const QString& name)
{
    const CRecordListModel& list = view.List();
    const QHeaderView& header = *view.horizontalHeader();
    const int records = ListRecordRows(view);

    TableFileContent content;
    content.name = name;
    std::vector<int> shown; // the list's columns in the order they are shown
    for (int visual = 0; visual < header.count(); ++visual) {
        const int column = header.logicalIndex(visual);
        if (column < 0 || column >= list.GetColumnCount() || view.isColumnHidden(column) ||
            list.ColumnAt(column).width <= 0)
            continue;
        shown.push_back(column);
        const int width = view.columnWidth(column);
        content.columns.push_back({list.ColumnAt(column).title,
                                   width > 0 ? width : list.ColumnAt(column).width,
                                   ColumnKind(list, column, records)});
    }
    content.rowCount = shown.empty() ? 0 : list.GetItemCount();
    content.cell = [&list, shown = std::move(shown)](int row, int column) {
        return list.GetItemText(row, shown[size_t(column)]);
    };
    return content;
}

QString MainListTitle(const CVantrelView& view)
{
    const QString caption = view.CategoryCaption(view.Category());
    return caption.isEmpty() ? view.Caption() : caption;
}
