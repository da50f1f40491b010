#include "trade/statfigures.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// One bar an entry, as the table lists them.
template <typename Label>
StatChartFigures EveryEntry(const QString& title, const QString& categoryTitle,
                            const std::vector<CStatEntry>& entries, Label label)
{
    StatChartFigures figures{title, categoryTitle, {}, {}};
    for (const CStatEntry& entry : entries) {
        figures.labels << label(entry);
        figures.values.push_back(entry.m_dSum);
    }
    return figures;
}

} // namespace

StatChartFigures MonthChartFigures(const QString& title, const std::vector<CStatEntry>& months)
{
    if (months.size() <= size_t(kChartMonthBars))
        return EveryEntry(title, u"月份"_s, months, MonthLabel);
    StatChartFigures figures;
    figures.title = title;
    const int lastYear = months.back().m_nYear;
    const int firstShown = std::max(months.front().m_nYear, lastYear - kChartYearBars + 1);
    const bool folded = firstShown > months.front().m_nYear;
    figures.categoryTitle = folded ? u"年份（按年合计，%1年以前合计为“更早”）"_s.arg(firstShown)
                                   : u"年份（按年合计）"_s;
    if (folded) {
        figures.labels << u"更早"_s;
        figures.values.push_back(0.0);
    }
    for (int year = firstShown; year <= lastYear; ++year) {
        figures.labels << u"%1年"_s.arg(year);
        figures.values.push_back(0.0);
    }
    const size_t offset = folded ? 1 : 0;
    for (const CStatEntry& entry : months) {
        const size_t bar =
            entry.m_nYear < firstShown ? 0 : offset + size_t(entry.m_nYear - firstShown);
        figures.values[bar] += entry.m_dSum;
    }
    return figures;
}

StatChartFigures ClientChartFigures(const QString& title, const std::vector<CStatEntry>& clients)
{
    if (clients.size() <= size_t(kChartClientBars))
        return EveryEntry(title, u"客户"_s, clients,
                          [](const CStatEntry& entry) { return entry.m_strClient; });
    StatChartFigures figures;
    figures.title = title;
    std::vector<size_t> order(clients.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto largest = order.begin() + kChartClientBars;
    // Only the shown part is sorted; ties keep the table's order through the index.
    std::partial_sort(order.begin(), largest, order.end(), [&clients](size_t a, size_t b) {
        if (clients[a].m_dSum != clients[b].m_dSum)
            return clients[a].m_dSum > clients[b].m_dSum;
        return a < b;
    });
    for (auto it = order.begin(); it != largest; ++it) {
        figures.labels << clients[*it].m_strClient;
        figures.values.push_back(clients[*it].m_dSum);
    }
    double others = 0.0;
    for (auto it = largest; it != order.end(); ++it)
        others += clients[*it].m_dSum;
    figures.labels << u"其他"_s;
    figures.values.push_back(others);
    figures.categoryTitle = u"客户（金额最大的%1个，其余%2个合计为“其他”）"_s.arg(kChartClientBars)
                                .arg(clients.size() - size_t(kChartClientBars));
    return figures;
}
