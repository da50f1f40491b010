#pragma once

#include "views/listlayout.h"

// The trade's lists: orders, their payments, the clients a find lists.
namespace ListLayouts {
// The main list of the clients a find lists: 19 columns, fewer than kClients (no 所属业务员,
// 员工人数, 年营业额) and the name narrower.
extern const ListLayout kFoundClients;
// The main list of purchase or sales orders: 17 columns, the paid amount ("paid") and its
// percentage ("percent") computed by the filler; settled orders and open ones have their own
// icons.
extern const ListLayout kPurchaseOrders;
extern const ListLayout kSaleOrders;
// The secondary list of an order's payments: 7 columns.
extern const ListLayout kPayments;
} // namespace ListLayouts
