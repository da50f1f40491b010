#include "views/listprinter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The page is laid out in the list's own unit, a screen pixel of 1/96 inch.
constexpr double kUnitsPerInch = 96.0;
constexpr double kTitleSize = 18.0;
constexpr double kFooterSize = 10.0;
constexpr double kCellSize = 12.0;
constexpr double kSmallestCellSize = 6.0;
constexpr double kPadding = 3.0;
constexpr double kNarrowestColumn = 24.0;

QFont PrintFont(double pixelSize, bool bold = false)
{
    static const QString kChineseFamily = u"WenQuanYi Micro Hei"_s;
    QFont font =
        QFontDatabase::hasFamily(kChineseFamily) ? QFont(kChineseFamily) : QGuiApplication::font();
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    font.setBold(bold);
    return font;
}

int TableWidth(const TableFileContent& content)
{
    int width = 0;
    for (const TableFileColumn& column : content.columns)
        width += std::max(column.width, 1);
    return width;
}

bool IsNumberKind(TableCellKind kind)
{
    return kind == TableCellKind::Amount || kind == TableCellKind::Percent;
}

// One line of text: line breaks inside a cell become blanks.
QString OneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Where everything goes on a page, in layout units.
struct PageLayout
{
    double width = 0;
    double height = 0;
    double scale = 1;         // of the columns' content widths
    std::vector<double> left; // each column's left edge, and the table's right edge last
    double titleHeight = 0;
    double footerHeight = 0;
    double rowHeight = 0;
    int rowsPerPage = 1;
    int pages = 1;
    QFont titleFont, footerFont, cellFont, headFont;
};

// The width each column's contents need at the full cell size: its title and its longest value,
// with the padding either side, and never less than kNarrowestColumn.
std::vector<double> ContentWidths(const TableFileContent& content)
{
    const QFontMetricsF cell(PrintFont(kCellSize));
    const QFontMetricsF head(PrintFont(kCellSize, true));
    std::vector<double> widths;
    widths.reserve(content.columns.size());
    for (size_t column = 0; column < content.columns.size(); ++column) {
        double width = head.horizontalAdvance(OneLine(content.columns[column].title));
        for (int row = 0; row < content.rowCount; ++row)
            width =
                std::max(width, cell.horizontalAdvance(OneLine(content.cell(row, int(column)))));
        // A pixel to spare for the rounding of a smaller font.
        widths.push_back(std::max(kNarrowestColumn, std::ceil(width) + 1 + 2 * kPadding));
    }
    return widths;
}

PageLayout LayOut(const QPagedPaintDevice& device, const TableFileContent& content)
{
    PageLayout page;
    page.width = device.width() * kUnitsPerInch / device.logicalDpiX();
    page.height = device.height() * kUnitsPerInch / device.logicalDpiY();
    // The page's width is shared in proportion to what the columns hold, so a full column is
    // not cut while a nearly empty one takes room. Contents wider than the page are drawn in a
    // smaller font, down to the smallest readable one.
    // A column of long texts takes at most half the page, so the others stay readable beside it.
    std::vector<double> widths = ContentWidths(content);
    double total = 0;
    for (double& width : widths) {
        if (widths.size() > 1)
            width = std::min(width, page.width / 2);
        total += width;
    }
    page.scale = page.width / total;
    double x = 0;
    for (double width : widths) {
        page.left.push_back(x);
        x += width * page.scale;
    }
    page.left.push_back(x);

    page.titleFont = PrintFont(kTitleSize, true);
    page.footerFont = PrintFont(kFooterSize);
    const double cellSize = std::clamp(kCellSize * page.scale, kSmallestCellSize, kCellSize);
    page.cellFont = PrintFont(cellSize);
    page.headFont = PrintFont(cellSize, true);
    page.titleHeight = QFontMetricsF(page.titleFont).height() * 1.8;
    page.footerHeight = QFontMetricsF(page.footerFont).height() * 1.8;
    page.rowHeight = QFontMetricsF(page.cellFont).height() + 2 * kPadding;
    // The column titles take one row of every page.
    const double rowsSpace = page.height - page.titleHeight - page.footerHeight - page.rowHeight;
    page.rowsPerPage = std::max(1, int(rowsSpace / page.rowHeight));
    page.pages = std::max(1, (content.rowCount + page.rowsPerPage - 1) / page.rowsPerPage);
    return page;
}

void PaintRow(QPainter& painter, const PageLayout& page, const TableFileContent& content,
              double top, const auto& text, bool head)
{
    painter.setFont(head ? page.headFont : page.cellFont);
    for (size_t column = 0; column < content.columns.size(); ++column) {
        const QRectF cell(page.left[column], top, page.left[column + 1] - page.left[column],
                          page.rowHeight);
        if (head)
            painter.fillRect(cell, QColor(225, 225, 232));
        painter.drawRect(cell);
        const QRectF inside = cell.adjusted(kPadding, 0, -kPadding, 0);
        if (inside.width() <= 0)
            continue;
        const Qt::Alignment alignment =
            (!head && IsNumberKind(content.columns[column].kind) ? Qt::AlignRight : Qt::AlignLeft) |
            Qt::AlignVCenter;
        painter.drawText(inside, alignment,
                         painter.fontMetrics().elidedText(OneLine(text(int(column))),
                                                          Qt::ElideRight, inside.width()));
    }
}

void PaintPage(QPainter& painter, const PageLayout& page, const QString& title,
               const TableFileContent& content, int pageIndex)
{
    painter.setPen(QPen(Qt::black, 0.5));
    painter.setFont(page.titleFont);
    painter.drawText(QRectF(0, 0, page.width, page.titleHeight), Qt::AlignCenter,
                     painter.fontMetrics().elidedText(OneLine(title), Qt::ElideRight, page.width));

    double top = page.titleHeight;
    PaintRow(
        painter, page, content, top,
        [&](int column) { return content.columns[size_t(column)].title; }, true);
    const int first = pageIndex * page.rowsPerPage;
    const int last = std::min(content.rowCount, first + page.rowsPerPage);
    for (int row = first; row < last; ++row) {
        top += page.rowHeight;
        PaintRow(
            painter, page, content, top, [&](int column) { return content.cell(row, column); },
            false);
    }

    painter.setFont(page.footerFont);
    painter.drawText(QRectF(0, page.height - page.footerHeight, page.width, page.footerHeight),
                     Qt::AlignCenter, u"第 %1 页 / 共 %2 页"_s.arg(pageIndex + 1).arg(page.pages));
}

} // namespace

void FitListOrientation(QPagedPaintDevice& device, const TableFileContent& content)
{
    QPageLayout upright = device.pageLayout();
    upright.setOrientation(QPageLayout::Portrait);
    const double uprightWidth = upright.paintRect(QPageLayout::Inch).width() * kUnitsPerInch;
    device.setPageOrientation(TableWidth(content) > uprightWidth ? QPageLayout::Landscape
                                                                 : QPageLayout::Portrait);
}

int PrintList(QPagedPaintDevice& device, const QString& title, const TableFileContent& content)
{
    if (content.columns.empty())
        return 0;
    const PageLayout page = LayOut(device, content);
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(device.logicalDpiX() / kUnitsPerInch, device.logicalDpiY() / kUnitsPerInch);
    for (int index = 0; index < page.pages; ++index) {
        if (index > 0 && !device.newPage())
            return index;
        PaintPage(painter, page, title, content, index);
    }
    painter.end();
    return page.pages;
}
