#pragma once

#include "views/dependants.h"

class CVantrelView;
struct TradeTwin;

// The payments made or received against an order of one trade.
class CPaymentDependants final : public CDependants
{
public:
    explicit CPaymentDependants(const TradeTwin& trade) : m_trade(trade) {}

    QString Caption() const override;
    RecordDialog Dialog() const override;
    int ManageCommand() const override;
    const ListLayout& Layout() const override;
    bool HasTotalsRow() const override { return true; }
    void Show(CVantrelDoc& doc, int number) const override;
    CRecordRequest AddRequest(const CRecordListModel& main, int row) const override;
    bool ReadForModify(CADODatabase* database, int number, CRecordRequest& request,
                       QString& failure) const override;
    void RowDeleted(CMiddleListView& lower) const override;

    // The statement that lists the payments of order `order`: the secondary list's query
    // while it shows them.
    QString PaymentsQuery(int order) const;
    // The order whose payments the secondary list shows; -1 when it shows none of the trade's.
    int ShownOrder(const CMiddleListView& lower) const;
    // The payments the secondary list shows have changed (one added, modified or deleted): the
    // list's totals row is recounted; where `main` lists the trade's orders, the order they
    // belong to shows their sum as its paid amount and percentage, and the main totals row is
    // recounted.
    void PaymentsChanged(CMiddleListView& lower, CVantrelView* main) const;

private:
    const TradeTwin& m_trade;
};
