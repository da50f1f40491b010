#pragma once

#include <QChartView>
#include <QString>
#include <QStringList>

#include <vector>

class CVantrelDoc;
class QFont;

// What the chart of a statistics table shows: one bar a label, in order.
struct StatChartFigures
{
    QString title;         // the table's title
    QString categoryTitle; // what the bars are ("月份", "客户", ...), with what was folded
    QStringList labels;
    std::vector<double> values;
};

// The lower pane while the main list holds a statistics table (BottomView::kChart): the table's
// figures as a bar chart, 金额 upwards, the table's title above; "没有数据" instead when there
// is no figure or every figure is zero. It is put in and taken out through the document: a
// statistics filler shows it, and any other list that replaces the table takes the pane back
// (CVantrelView::SetCategory).
class CStatChartView : public QChartView
{
    Q_OBJECT
public:
    explicit CStatChartView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // Draws the figures anew, replacing what the chart showed.
    void SetFigures(const StatChartFigures& figures);
    const StatChartFigures& Figures() const { return m_figures; }

private:
    // "没有数据" in the middle of the chart.
    void ShowNoData(QChart* drawn, const QFont& font);
    // One bar a figure, with the axes of the labels and of 金额.
    static void DrawBars(QChart* drawn, const StatChartFigures& figures, const QFont& font);

    StatChartFigures m_figures;
};
