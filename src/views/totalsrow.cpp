#include "views/totalsrow.h"

#include "data/formats.h"
#include "kit/recordlistmodel.h"

namespace {

constexpr int kPaymentNumber = 1;
constexpr int kPaymentSum = 2;
constexpr int kOrderSum = 6;
constexpr int kOrderPaid = 7;
constexpr int kOrderPercent = 8;
constexpr int kOrderNumber = 11;

void WriteOrderTotals(CRecordListModel& list, int row, const OrderTotals& totals)
{
    list.SetItemText(row, kOrderNumber, FormatAmount(totals.number));
    list.SetItemText(row, kOrderSum, FormatAmount(totals.sum));
    list.SetItemText(row, kOrderPaid, FormatAmount(totals.paid));
    list.SetItemText(row, kOrderPercent, FormatPercent(PaidPercent(totals.paid, totals.sum)));
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
                    FormatAmount(list.SumColumn(kPaymentNumber, rows)),
                    FormatAmount(list.SumColumn(kPaymentSum, rows))});
}

void UpdatePaymentTotals(CRecordListModel& list)
{
    const int last = list.GetItemCount() - 1;
    if (last < 0)
        return;
    list.SetItemText(last, kPaymentNumber, FormatAmount(list.SumColumn(kPaymentNumber, last)));
    list.SetItemText(last, kPaymentSum, FormatAmount(list.SumColumn(kPaymentSum, last)));
}

void UpdateOrderTotals(CRecordListModel& list)
{
    const int last = list.GetItemCount() - 1;
    if (last < 0)
        return;
    WriteOrderTotals(list, last,
                     {list.SumColumn(kOrderNumber, last), list.SumColumn(kOrderSum, last),
                      list.SumColumn(kOrderPaid, last)});
}

void AppendOrderTotals(CRecordListModel& list, const OrderTotals& totals)
{
    WriteOrderTotals(list, list.AppendRow({QString::fromUtf16(kTotalsText)}), totals);
}
