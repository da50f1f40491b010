#include "trade/modifiedpayment.h"

#include "kit/recordlistmodel.h"
#include "trade/orderlist.h"
#include "trade/paymentdependants.h"
#include "trade/tradelayouts.h"
#include "trade/tradetwin.h"
#include "views/listlayout.h"
#include "views/middlelistview.h"
#include "views/totalsrow.h"
#include "views/vantrelview.h"

namespace {

// Order `order`, where the main list shows it, takes its paid amount from the file; the
// totals row is recounted.
void ShowStoredPaid(int order, const TradeTwin& trade, CVantrelView* main, CADODatabase* database)
{
    if (!main || main->Category() != trade.category)
        return;
    CRecordListModel& orders = main->List();
    const int row = RecordRow(orders, order);
    if (row < 0)
        return;
    SetOrderPaid(orders, row, PaidAmounts(database, trade, {order}).front());
    if (HasTotalsRow(orders))
        UpdateOrderTotals(orders);
}

} // namespace

void ShowModifiedPayment(const ModifiedPayment& payment, const TradeTwin& trade,
                         CMiddleListView& lower, CVantrelView* main, CADODatabase* database)
{
    CRecordListModel& payments = lower.List();
    int shown = -1;
    if (payment.item < 0 || payment.item >= payments.GetItemCount() ||
        !payments.RecordNumber(payment.item, shown) || shown != payment.no)
        return;
    const bool moved = payment.order != payment.shownOrder;
    // A payment moved to another order is no longer one of the shown order's payments.
    if (moved)
        payments.DeleteItem(payment.item);
    else
        RewriteLayoutRow(payments, payment.item, payment.no, ListLayouts::kPayments,
                         payment.values);
    CPaymentDependants(trade).PaymentsChanged(lower, main);
    if (moved)
        ShowStoredPaid(payment.order, trade, main, database);
}

void ShowAddedPayment(int order, const TradeTwin& trade, CMiddleListView* lower, CVantrelView* main,
                      CADODatabase* database)
{
    const CPaymentDependants payments(trade);
    if (lower && payments.ShownOrder(*lower) == order) {
        payments.Show(lower->Document(), order);
        payments.PaymentsChanged(*lower, main);
    } else {
        ShowStoredPaid(order, trade, main, database);
    }
}
