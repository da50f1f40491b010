#include "views/listicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

// A sheet of paper with a folded corner and a few lines of writing.
void DrawCard(QPainter& painter, const QColor& paper, const QColor& ink)
{
    QPainterPath sheet;
    sheet.moveTo(3.5, 1.5);
    sheet.lineTo(10.5, 1.5);
    sheet.lineTo(13.5, 4.5);
    sheet.lineTo(13.5, 14.5);
    sheet.lineTo(3.5, 14.5);
    sheet.closeSubpath();
    painter.setPen(QPen(ink.darker(140), 1));
    painter.setBrush(paper);
    painter.drawPath(sheet);
    painter.setPen(QPen(ink, 1));
    for (int y = 6; y <= 12; y += 2)
        painter.drawLine(QPointF(5.5, y + 0.5), QPointF(11.5, y + 0.5));
}

QPixmap Draw(int resourceId)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (resourceId) {
    case 166: { // settled: a green disc with a tick
        painter.setPen(QPen(QColor(0x1e, 0x7b, 0x34), 1));
        painter.setBrush(QColor(0x3c, 0xb3, 0x5a));
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QList<QPointF>{{4.5, 8.5}, {7, 11}, {11.5, 5}});
        break;
    }
    case 167: { // open: an amber disc with a clock hand
        painter.setPen(QPen(QColor(0xb3, 0x6b, 0x00), 1));
        painter.setBrush(QColor(0xf5, 0xa6, 0x23));
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(8, 8), QPointF(8, 4));
        painter.drawLine(QPointF(8, 8), QPointF(11, 9.5));
        break;
    }
    case 168:
        DrawCard(painter, QColor(0xff, 0xfd, 0xf0), QColor(0x5a, 0x6e, 0x8c));
        break;
    case 169:
        DrawCard(painter, QColor(0xe8, 0xf1, 0xfc), QColor(0x2f, 0x6d, 0xb5));
        break;
    default:
        break;
    }
    return pixmap;
}

} // namespace

QIcon RecordListIcon(int resourceId)
{
    return QIcon(Draw(resourceId));
}

QList<QIcon> MainListIcons()
{
    return {RecordListIcon(168), RecordListIcon(166), RecordListIcon(167), RecordListIcon(169)};
}

QList<QIcon> MiddleListIcons()
{
    return {RecordListIcon(169)};
}
