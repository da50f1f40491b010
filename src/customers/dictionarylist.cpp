#include "customers/dictionarylist.h"

#include "kit/columnwidths.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
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
    KeepColumnsFitted(*list);
    FitColumnsToContents(*list);
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
    // A hollow grey ring for a kind, a blue disc pointing at the values for the chosen one.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (chosen) {
        painter.setPen(QPen(QColor(0x1f, 0x5f, 0xa8), 1));
        painter.setBrush(QColor(0x3a, 0x86, 0xd6));
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF({{6.0, 4.5}, {11.5, 8.0}, {6.0, 11.5}}));
    } else {
        painter.setPen(QPen(QColor(0x8a, 0x8f, 0x96), 1.5));
        painter.setBrush(QColor(0xf4, 0xf5, 0xf7));
        painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    }
    return QIcon(pixmap);
}

void MarkChosenKind(QTableWidget* list, int chosen)
{
    for (int row = 0; row < list->rowCount(); ++row)
        if (QTableWidgetItem* item = list->item(row, 0))
            item->setIcon(KindIcon(row == chosen));
}
