#pragma once

class CRecordListModel;

// Purchase and sales lists and payment lists end with a row whose first column is "合计": it is
// no record, and sums skip it.

inline constexpr char16_t kTotalsText[] = u"合计";

// The columns of an order list that hold numbers.
namespace OrderColumn {
inline constexpr int kSum = 6;     // 单据金额
inline constexpr int kPaid = 7;    // 已支付金额 / 回笼金额
inline constexpr int kPercent = 8; // 支付百分比 / 回笼百分比
inline constexpr int kNumber = 11; // 数量
} // namespace OrderColumn

// The columns of a payment list that hold numbers.
namespace PaymentColumn {
inline constexpr int kNumber = 1; // 数量
inline constexpr int kSum = 2;    // 金额
} // namespace PaymentColumn

// True when the list's last row is its totals row.
bool HasTotalsRow(const CRecordListModel& list);

// Payment list (columns 1 数量 and 2 金额): appends the totals row of the rows listed so far.
void AppendPaymentTotals(CRecordListModel& list);
// Payment list: rewrites the last row's sums from the rows before it.
void UpdatePaymentTotals(CRecordListModel& list);

// The sums of an order list's columns 11 (数量), 6 (单据金额) and 7 (paid), each the total of
// the numbers its texts show.
struct OrderTotals
{
    double number = 0.0;
    double sum = 0.0;
    double paid = 0.0;
};

// Order list: appends the totals row of the rows listed so far, whose sums the filler added up.
void AppendOrderTotals(CRecordListModel& list, const OrderTotals& totals);
// Order list: rewrites the last row's sums of columns 6 (单据金额), 7 (paid) and 11 (数量)
// and its column 8 (paid percentage) from the rows before it.
void UpdateOrderTotals(CRecordListModel& list);

// Order list: rewrites the paid amount (column 7) of row `row` and its percentage of the
// order's 单据金额 (column 8 of column 6).
void SetOrderPaid(CRecordListModel& list, int row, double paid);
// The row that shows record `number`; -1 when none does. The row `hint` is looked at first.
int RecordRow(const CRecordListModel& list, int number, int hint = -1);
