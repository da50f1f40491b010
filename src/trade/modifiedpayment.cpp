#include "trade/modifiedpayment.h"

#include "kit/recordlistmodel.h"
#include "trade/orderlist.h"
#include "views/listlayout.h"
#include "views/listlayouts.h"
#include "views/middlelistview.h"
#include "views/totalsrow.h"
#include "views/tradetwin.h"
#include "views/vantrelview.h"

namespace {

bool ShowsRecord(const CRecordListModel& list, int row, int number)
{
    int shown = -1;
    return row >= 0 && row < list.GetItemCount() && list.RecordNumber(row, shown) &&
           shown == number;
}

// The row of the order list that shows order `number`; -1 when none does.
int OrderRow(const CRecordListModel& list, int number)
{
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (ShowsRecord(list, row, number))
            return row;
    return -1;
}

} // namespace

void ShowModifiedPayment(const ModifiedPayment& payment, const TradeTwin& trade,
                         CMiddleListView& lower, CVantrelView* main, CADODatabase* database)
{
    CRecordListModel& payments = lower.List();
    if (!ShowsRecord(payments, payment.item, payment.no))
        return;
    const bool moved = payment.order != payment.shownOrder;
    // A payment moved to another order is no longer one of the shown order's payments.
    if (moved)
        payments.DeleteItem(payment.item);
    else
        RewriteLayoutRow(payments, payment.item, payment.no, ListLayouts::kPayments,
                         payment.values);
    if (!HasTotalsRow(payments))
        return;
    UpdatePaymentTotals(payments);

    if (!main || main->Category() != trade.category)
        return;
    CRecordListModel& orders = main->List();
    const int shown = main->SelectedRow();
    if (ShowsRecord(orders, shown, payment.shownOrder))
        SetOrderPaid(orders, shown,
                     payments.SumColumn(PaymentColumn::kSum, payments.GetItemCount() - 1));
    if (moved) {
        const int target = OrderRow(orders, payment.order);
        if (target >= 0)
            SetOrderPaid(orders, target, PaidAmounts(database, trade, {payment.order}).front());
    }
    if (HasTotalsRow(orders))
        UpdateOrderTotals(orders);
}
