#include "kit/columnwidths.h"

#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QSet>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <algorithm>

namespace {

// The options a view paints its cells with, as far as their size depends on them.
QStyleOptionViewItem CellOption(const QTableView& view)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    option.decorationSize = view.iconSize().isValid() ? view.iconSize() : QSize(16, 16);
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = view.textElideMode();
    return option;
}

void FitRange(QTableView& view, int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    const QAbstractItemModel* model = view.model();
    if (!model)
        return;
    const int rows = std::min(model->rowCount(view.rootIndex()), ColumnWidths::kMeasuredRows);
    firstRow = std::max(firstRow, 0);
    lastRow = lastRow < 0 ? rows - 1 : std::min(lastRow, rows - 1);
    firstColumn = std::max(firstColumn, 0);
    lastColumn = std::min(lastColumn, model->columnCount(view.rootIndex()) - 1);
    const QStyleOptionViewItem option = CellOption(view);
    const int grid = view.showGrid() ? 1 : 0;
    QHeaderView* header = view.horizontalHeader();
    for (int column = firstColumn; column <= lastColumn; ++column) {
        if (view.isColumnHidden(column))
            continue;
        int wanted = header->isHidden() ? 0 : header->sectionSizeHint(column);
        // Lists repeat their values (a unit, a warehouse, a day): a text measured once in the
        // column, with or without an icon, is as wide the next time.
        QSet<QString> measured[2];
        // A column at the widest it may be needs no more measuring.
        for (int row = firstRow; row <= lastRow && wanted < ColumnWidths::kMaximumWidth; ++row) {
            const QModelIndex index = model->index(row, column, view.rootIndex());
            const QString text = model->data(index, Qt::DisplayRole).toString();
            const bool icon = model->data(index, Qt::DecorationRole).isValid();
            if (text.isEmpty() && !icon)
                continue;
            QSet<QString>& seen = measured[icon ? 1 : 0];
            if (seen.contains(text))
                continue;
            seen.insert(text);
            QAbstractItemDelegate* delegate = view.itemDelegateForIndex(index);
            if (delegate)
                wanted = std::max(wanted, delegate->sizeHint(option, index).width() + grid);
        }
        wanted = std::min(wanted, ColumnWidths::kMaximumWidth);
        if (wanted > view.columnWidth(column))
            view.setColumnWidth(column, wanted);
    }
}

} // namespace

void FitColumnsToContents(QTableView& view, int first, int last)
{
    if (first >= ColumnWidths::kMeasuredRows)
        return;
    FitRange(view, first, last < 0 ? ColumnWidths::kMeasuredRows - 1 : last, 0,
             view.model() ? view.model()->columnCount(view.rootIndex()) - 1 : -1);
}

void KeepColumnsFitted(QTableView& view)
{
    QAbstractItemModel* model = view.model();
    if (!model)
        return;
    QTableView* target = &view;
    QObject::connect(model, &QAbstractItemModel::rowsInserted, target,
                     [target](const QModelIndex& parent, int first, int last) {
                         if (!parent.isValid())
                             FitColumnsToContents(*target, first, last);
                     });
    QObject::connect(model, &QAbstractItemModel::dataChanged, target,
                     [target](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                              const QList<int>& roles) {
                         if (topLeft.parent().isValid() ||
                             topLeft.row() >= ColumnWidths::kMeasuredRows ||
                             (!roles.isEmpty() && !roles.contains(Qt::DisplayRole)))
                             return;
                         FitRange(*target, topLeft.row(), bottomRight.row(), topLeft.column(),
                                  bottomRight.column());
                     });
}
