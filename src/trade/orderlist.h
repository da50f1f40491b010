#pragma once

#include <QString>

#include <vector>

class CADODatabase;
class CVantrelDoc;
struct TradeTwin;

// Makes the main list the list of the trade's orders that `sql` selects: the order columns,
// one row per order with its paid amount and percentage, and the totals row "合计"; the
// secondary list is laid out for the orders' payments. The statement becomes the list's
// current query when it runs; when it does not, the list holds only the totals row.
void ShowOrderList(CVantrelDoc& doc, const TradeTwin& trade, const QString& sql);

// The paid amount of each order: the sum of `sum` over the trade's payment rows whose `paper`
// is the order's number, added in table order; 0 for an order without payments.
std::vector<double> PaidAmounts(CADODatabase* database, const TradeTwin& trade,
                                const std::vector<int>& orders);
