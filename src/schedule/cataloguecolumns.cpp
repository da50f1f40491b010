#include "schedule/cataloguecolumns.h"

#include "kit/columnwidths.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include <algorithm>

void WidenCatalogueColumns(QTableView* list, int firstRow, int lastRow)
{
    // Titles alone when there is no row to measure.
    FitColumnsToContents(*list, firstRow, std::max(firstRow, lastRow));
    int total = 0;
    for (int column = 0; column < list->model()->columnCount(); ++column)
        if (!list->isColumnHidden(column))
            total += list->columnWidth(column);
    const int scrollBar =
        list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list->verticalScrollBar());
    list->setMinimumWidth(total + scrollBar + 2 * list->frameWidth());
}
