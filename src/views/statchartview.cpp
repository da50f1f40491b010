#include "views/statchartview.h"

#include "views/vantreldoc.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QSet>
#include <QValueAxis>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Above this many bars the labels stand upright, so that they do not run into each other.
constexpr int kLevelLabels = 12;

// A category axis takes each label once; a repeated one (two clients of one name) is made
// distinct by invisible zero-width spaces.
QStringList DistinctLabels(const QStringList& labels)
{
    QStringList distinct;
    distinct.reserve(labels.size());
    QSet<QString> seen;
    for (QString label : labels) {
        while (seen.contains(label))
            label += QChar(0x200B);
        seen.insert(label);
        distinct << label;
    }
    return distinct;
}

} // namespace

CStatChartView::CStatChartView(CVantrelDoc& doc, QWidget* parent) : QChartView(parent)
{
    setObjectName(u"StatChartView"_s);
    setRenderHint(QPainter::Antialiasing);
    doc.RegisterView(this);
}

void CStatChartView::SetFigures(const StatChartFigures& figures)
{
    m_figures = figures;
    // The program's font, which holds the Chinese characters, for every text of the chart.
    const QFont font = QApplication::font();
    QFont titleFont = font;
    titleFont.setBold(true);
    titleFont.setPointSizeF(font.pointSizeF() * 1.2);

    auto* drawn = new QChart;
    drawn->setTitle(figures.title);
    drawn->setTitleFont(titleFont);
    drawn->legend()->hide();
    const bool empty = std::all_of(figures.values.begin(), figures.values.end(),
                                   [](double value) { return value == 0.0; });
    if (empty)
        ShowNoData(drawn, font);
    else
        DrawBars(drawn, figures, font);

    QChart* old = chart();
    setChart(drawn);
    delete old;
}

void CStatChartView::ShowNoData(QChart* drawn, const QFont& font)
{
    // Neither axes nor bars: a table without rows, or of zeros only, has nothing to draw.
    auto* text = new QGraphicsSimpleTextItem(u"没有数据"_s, drawn);
    QFont large = font;
    large.setPointSizeF(font.pointSizeF() * 1.5);
    text->setFont(large);
    text->setBrush(palette().color(QPalette::PlaceholderText));
    auto centre = [drawn, text] {
        const QRectF area = drawn->plotArea();
        const QRectF box = text->boundingRect();
        text->setPos(area.center() - box.center());
    };
    connect(drawn, &QChart::plotAreaChanged, drawn, centre);
    centre();
}

void CStatChartView::DrawBars(QChart* drawn, const StatChartFigures& figures, const QFont& font)
{
    auto* set = new QBarSet(u"金额"_s);
    double low = 0.0;
    double high = 0.0;
    for (double value : figures.values) {
        set->append(value);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    auto* series = new QBarSeries;
    series->append(set);
    drawn->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    categories->append(DistinctLabels(figures.labels));
    categories->setTitleText(figures.categoryTitle);
    categories->setTitleFont(font);
    categories->setLabelsFont(font);
    categories->setLabelsAngle(figures.labels.size() > kLevelLabels ? -90 : 0);
    drawn->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);

    auto* amounts = new QValueAxis;
    amounts->setTitleText(u"金额"_s);
    amounts->setTitleFont(font);
    amounts->setLabelsFont(font);
    amounts->setRange(low, high);
    amounts->applyNiceNumbers();
    amounts->setLabelFormat(high - low >= 100.0 ? u"%.0f"_s : u"%.2f"_s);
    drawn->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(amounts);
}
