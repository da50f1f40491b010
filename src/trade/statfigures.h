#pragma once

#include "trade/stattables.h"
#include "views/statchartview.h"

// How many bars a chart draws at most before it folds the rest: a chart of thousands of bars
// shows nothing.
inline constexpr int kChartClientBars = 30; // the largest clients; the rest one bar "其他"
inline constexpr int kChartMonthBars = 36;  // months; a longer span one bar a year
inline constexpr int kChartYearBars = 100;  // years; earlier ones one bar "更早"

// The chart of "某客户各月对比": one bar a month in order ("2009年3月"), or, over a span of more
// than kChartMonthBars months, one bar a year ("2009年") with the years before the last
// kChartYearBars summed as "更早".
StatChartFigures MonthChartFigures(const QString& title, const std::vector<CStatEntry>& months);

// The chart of "某月各个客户对比": one bar a client in the table's order; with more than
// kChartClientBars clients, the largest of them from the largest down (equal sums in the
// table's order) and the sum of all the others as the last bar "其他".
StatChartFigures ClientChartFigures(const QString& title, const std::vector<CStatEntry>& clients);
