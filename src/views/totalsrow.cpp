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
    const double number = list.SumColumn(kOrderNumber, last);
    const double sum = list.SumColumn(kOrderSum, last);
    const double paid = list.SumColumn(kOrderPaid, last);
    list.SetItemText(last, kOrderNumber, FormatAmount(number));
    list.SetItemText(last, kOrderSum, FormatAmount(sum));
    list.SetItemText(last, kOrderPaid, FormatAmount(paid));
    list.SetItemText(last, kOrderPercent, FormatPercent(PaidPercent(paid, sum)));
}

void AppendOrderTotals(CRecordListModel& list)
{
    list.AppendRow({QString::fromUtf16(kTotalsText)});
    UpdateOrderTotals(list);
}
