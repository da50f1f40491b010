#include "trade/orderlist.h"

#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/formats.h"
#include "data/storedvalues.h"
#include "kit/recordlistmodel.h"
#include "trade/tradelayouts.h"
#include "trade/tradetwin.h"
#include "views/listlayout.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/totalsrow.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <algorithm>
#include <unordered_map>

using namespace Qt::StringLiterals;

namespace {

// Up to this many orders each has its own statement; longer lists read the payment table once.
// Both add an order's payments in the same (table) order, so the sums are the same to the bit.
constexpr size_t kLookupLimit = 200;

double PaidByLookup(CADORecordset& recordset, const QString& table, int order)
{
    double paid = 0.0;
    if (!recordset.Open(u"SELECT * FROM %1 WHERE [paper] = %2"_s.arg(table).arg(order)))
        return paid;
    const int sumField = recordset.GetFieldIndex(u"sum"_s);
    ForEachRow(recordset, [&] {
        double sum = 0.0;
        recordset.GetFieldDouble(sumField, sum);
        paid += sum;
    });
    return paid;
}

} // namespace

std::vector<double> PaidAmounts(CADODatabase* database, const TradeTwin& trade,
                                const std::vector<int>& orders)
{
    std::vector<double> paid(orders.size(), 0.0);
    const QString table = QString::fromUtf16(trade.detailTable);
    CADORecordset recordset(database);
    if (orders.size() <= kLookupLimit) {
        for (size_t i = 0; i < orders.size(); ++i)
            paid[i] = PaidByLookup(recordset, table, orders[i]);
        return paid;
    }
    // Order numbers come from a counter: a table indexed by the number finds an order's place
    // at once where they are not spread far; otherwise a hash does.
    int highest = 0;
    for (int order : orders)
        highest = std::max(highest, order);
    const bool dense =
        std::all_of(orders.begin(), orders.end(), [](int order) { return order >= 0; }) &&
        size_t(highest) <= orders.size() * 4 + 1024;
    std::vector<int> places(dense ? size_t(highest) + 1 : 0, -1);
    std::unordered_map<int, int> hashed;
    for (size_t i = 0; i < orders.size(); ++i) {
        // The first of equal numbers takes the payments, as a lookup of the number would.
        if (dense) {
            if (places[size_t(orders[i])] < 0)
                places[size_t(orders[i])] = int(i);
        } else {
            hashed.emplace(orders[i], int(i));
        }
    }
    if (!recordset.OpenForward(u"SELECT [paper], [sum] FROM %1"_s.arg(table)))
        return paid;
    const int paperField = recordset.GetFieldIndex(u"paper"_s);
    const int sumField = recordset.GetFieldIndex(u"sum"_s);
    ForEachRow(recordset, [&] {
        int paper = 0;
        recordset.GetFieldInt(paperField, paper);
        int place = -1;
        if (dense) {
            if (paper >= 0 && paper <= highest)
                place = places[size_t(paper)];
        } else if (const auto it = hashed.find(paper); it != hashed.end()) {
            place = it->second;
        }
        if (place < 0)
            return;
        double sum = 0.0;
        recordset.GetFieldDouble(sumField, sum);
        paid[size_t(place)] += sum;
    });
    // Orders of equal numbers show the same paid amount.
    for (size_t i = 0; i < orders.size(); ++i) {
        const int first = dense ? places[size_t(orders[i])] : hashed[orders[i]];
        paid[i] = paid[size_t(first)];
    }
    return paid;
}

void ShowOrderList(CVantrelDoc& doc, const TradeTwin& trade, const QString& sql)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    view->SetCategory(trade.category);
    view->SetRefill([&doc, twin = &trade, sql] { ShowOrderList(doc, *twin, sql); });
    view->SetCaption(view->CategoryCaption(trade.category));
    doc.ShowBottomView(BottomView::kList);
    CRecordListModel& list = view->List();
    const ListLayout& layout = *trade.orderLayout;
    SetLayoutColumns(list, layout);
    if (CMiddleListView* lower = doc.MiddleList()) {
        SetLayoutColumns(lower->List(), ListLayouts::kPayments);
        lower->SetCurrentQuery(QString());
    }

    CADODatabase* database = doc.Database();
    // The orders and their payments as they were at one moment, whatever other workstations
    // save meanwhile.
    const bool reading = database && database->BeginReadTransaction();
    CListRows rows;
    const QVariantMap computed{{u"paid"_s, 0.0}, {u"percent"_s, 0.0}};
    if (ReadLayoutRows(rows, layout, database, sql, computed))
        view->SetCurrentQuery(sql);
    CStoredValues& values = rows.values;
    const int numberColumn = int(layout.columns.size());
    std::vector<int> orders;
    orders.reserve(size_t(rows.Count()));
    for (int row = 0; row < rows.Count(); ++row)
        orders.push_back(int(values.At(row, numberColumn).number));
    const std::vector<double> paid = PaidAmounts(database, trade, orders);
    if (reading)
        database->CommitTransaction();

    // The totals add up the amounts as shown, as a recount after a change does; they are summed
    // here while each row is at hand rather than in three passes over the list.
    OrderTotals totals;
    for (int row = 0; row < rows.Count(); ++row) {
        const double sum = ShownAmount(values.Number(values.At(row, OrderColumn::kSum)));
        values.SetReal(row, OrderColumn::kPaid, paid[size_t(row)]);
        values.SetReal(row, OrderColumn::kPercent, PaidPercent(paid[size_t(row)], sum));
        totals.sum += sum;
        totals.paid += ShownAmount(paid[size_t(row)]);
        totals.number += ShownAmount(values.Number(values.At(row, OrderColumn::kNumber)));
    }
    list.AppendRows(std::move(rows));
    AppendOrderTotals(list, totals);
    doc.SetInfoText(view->Caption());
}
