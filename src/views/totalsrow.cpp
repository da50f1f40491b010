#include "views/totalsrow.h"

#include "data/formats.h"
#include "kit/recordlistmodel.h"

namespace {

void WriteOrderTotals(CRecordListModel& list, int row, const OrderTotals& totals)
{
    list.SetItemText(row, OrderColumn::kNumber, FormatAmount(totals.number));
    list.SetItemText(row, OrderColumn::kSum, FormatAmount(totals.sum));
    list.SetItemText(row, OrderColumn::kPaid, FormatAmount(totals.paid));
    list.SetItemText(row, OrderColumn::kPercent,
                     FormatPercent(PaidPercent(totals.paid, totals.sum)));
}

} // namespace

bool HasTotalsRow(const CRecordListModel& list)
{
    const int last = list.GetItemCount() - 1;
    int number = 0;
    return last >= 0 && list.GetItemText(last, 0) == QStringView(kTotalsText) &&
           !list.RecordNumber(last, number);
}

void AppendPaymentTotals(CRecordListModel& list)
{
    const int rows = list.GetItemCount();
    list.AppendRow({QString::fromUtf16(kTotalsText),
                    FormatAmount(list.SumColumn(PaymentColumn::kNumber, rows)),
                    FormatAmount(list.SumColumn(PaymentColumn::kSum, rows))});
}

void UpdatePaymentTotals(CRecordListModel& list)
{
    const int last = list.GetItemCount() - 1;
    if (last < 0)
        return;
    list.SetItemText(last, PaymentColumn::kNumber,
                     FormatAmount(list.SumColumn(PaymentColumn::kNumber, last)));
    list.SetItemText(last, PaymentColumn::kSum,
                     FormatAmount(list.SumColumn(PaymentColumn::kSum, last)));
}

void UpdateOrderTotals(CRecordListModel& list)
{
    const int last = list.GetItemCount() - 1;
    if (last < 0)
        return;
    WriteOrderTotals(list, last,
                     {list.SumColumn(OrderColumn::kNumber, last),
                      list.SumColumn(OrderColumn::kSum, last),
                      list.SumColumn(OrderColumn::kPaid, last)});
}

void AppendOrderTotals(CRecordListModel& list, const OrderTotals& totals)
{
    WriteOrderTotals(list, list.AppendRow({QString::fromUtf16(kTotalsText)}), totals);
}

void SetOrderPaid(CRecordListModel& list, int row, double paid)
{
    list.SetItemText(row, OrderColumn::kPaid, FormatAmount(paid));
    list.SetItemText(
        row, OrderColumn::kPercent,
        FormatPercent(PaidPercent(paid, ParseAmount(list.GetItemText(row, OrderColumn::kSum)))));
}

int RecordRow(const CRecordListModel& list, int number, int hint)
{
    auto shows = [&list, number](int row) {
        int shown = 0;
        return list.RecordNumber(row, shown) && shown == number;
    };
    if (hint >= 0 && hint < list.GetItemCount() && shows(hint))
        return hint;
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (shows(row))
            return row;
    return -1;
}
