#include "customers/dictionarylist.h"

#include "views/listicons.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget* NewReportList(const QString& title, int width, QWidget* parent)
{
    auto* list = new QTableWidget(0, 1, parent);
    list->setHorizontalHeaderItem(0, new QTableWidgetItem(title));
    list->setColumnWidth(0, width);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setSectionsMovable(true);
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setIconSize(QSize(16, 16));
    return list;
}

void AppendReportRow(QTableWidget* list, const QString& text, const QIcon& icon)
{
    const int row = list->rowCount();
    list->insertRow(row);
    auto* item = new QTableWidgetItem(icon, text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    list->setItem(row, 0, item);
}

QIcon KindIcon(bool chosen)
{
    return RecordListIcon(chosen ? 167 : 166);
}

void MarkChosenKind(QTableWidget* list, int chosen)
{
    for (int row = 0; row < list->rowCount(); ++row)
        if (QTableWidgetItem* item = list->item(row, 0))
            item->setIcon(KindIcon(row == chosen));
}
