#pragma once

#include <QChartView>
#include <QString>
#include <QStringList>

#include <vector>

class CVantrelDoc;

// What the chart of a statistics table shows: one bar a label, in order.
struct StatChartFigures
{
    QString title;         // the table's title
    QString categoryTitle; // what the bars are ("月份", "客户", ...), with what was folded
    QStringList labels;
    std::vector<double> values;
};

// The lower pane while the main list holds a statistics table (BottomView::kChart): the table's
// figures as a bar chart, 金额 upwards, the table's title above. It is put in and taken out
// through the document: a statistics filler shows it, and any other list that replaces the
// table takes the pane back (CVantrelView::SetCategory).
class CStatChartView : public QChartView
{
    Q_OBJECT
public:
    explicit CStatChartView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // Draws the figures anew, replacing what the chart showed.
    void SetFigures(const StatChartFigures& figures);
    const StatChartFigures& Figures() const { return m_figures; }

private:
    StatChartFigures m_figures;
};
