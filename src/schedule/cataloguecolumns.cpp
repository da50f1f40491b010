#include "schedule/cataloguecolumns.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include <algorithm>

void WidenCatalogueColumns(QTableView* list, int firstRow, int lastRow, int maxWidth)
{
    const QAbstractItemModel* model = list->model();
    const QHeaderView* header = list->horizontalHeader();
    lastRow = std::min(lastRow, model->rowCount() - 1);
    // A grid line takes a pixel of every cell.
    const int grid = list->showGrid() ? 1 : 0;
    int total = 0;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (list->isColumnHidden(column))
            continue;
        int wanted = header->sectionSizeHint(column);
        for (int row = std::max(0, firstRow); row <= lastRow; ++row)
            wanted =
                std::max(wanted, list->sizeHintForIndex(model->index(row, column)).width() + grid);
        const int width = std::max(list->columnWidth(column), std::min(wanted, maxWidth));
        if (width != list->columnWidth(column))
            list->setColumnWidth(column, width);
        total += width;
    }
    const int scrollBar =
        list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list->verticalScrollBar());
    list->setMinimumWidth(total + scrollBar + 2 * list->frameWidth());
}
