#pragma once

#include "views/dependants.h"

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

private:
    const TradeTwin& m_trade;
};
