#pragma once

#include <QVariantMap>

class CADODatabase;
class CMiddleListView;
class CVantrelView;
struct TradeTwin;

// A payment a modify has just saved, and where the lists showed it.
struct ModifiedPayment
{
    int no;             // the payment's number
    int item;           // the row of the secondary list that showed it
    int shownOrder;     // the order it belonged to: the one whose payments the list shows
    int order;          // the order it belongs to now
    QVariantMap values; // its saved values by column name of the detail tables
};

// Brings the lists up to date after the modify, when row `item` of the secondary list still
// shows the payment: the row takes the saved values, or leaves the list when the payment moved
// to another order; the list's totals row is recounted; in the main list (when it lists the
// trade's orders) the order whose payments are shown and the order the payment moved to, where
// listed, show their new paid amounts and percentages, and the totals row is recounted.
void ShowModifiedPayment(const ModifiedPayment& payment, const TradeTwin& trade,
                         CMiddleListView& lower, CVantrelView* main, CADODatabase* database);

// Brings the lists up to date after a payment of order `order` has been added: when the
// secondary list shows that order's payments it lists them afresh, with the new one; in the
// main list (when it lists the trade's orders) the order, where listed, shows its new paid
// amount and percentage, and the totals row is recounted.
void ShowAddedPayment(int order, const TradeTwin& trade, CMiddleListView* lower, CVantrelView* main,
                      CADODatabase* database);
