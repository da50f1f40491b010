#include "trade/tradetwin.h"

#include "kit/commandids.h"
#include "trade/tradelayouts.h"
#include "trade/traderecords.h"

const TradeTwin kPurchaseTwin{
    false,
    TradeCategory::kPurchases,
    u"采购",
    u"采购明细",
    u"供应商",
    u"inputdata",
    u"inputdetail",
    &ListLayouts::kPurchaseOrders,
    RecordKind::InputData,
    RecordKind::InputDetail,
    TradeDialog::kPurchase,
    TradeDialog::kPurchaseDetail,
    ID_QUERY_INPUT,
    ID_MANAGE_INPUT,
    ID_MANAGE_INPUTDETAIL,
};

const TradeTwin kSaleTwin{
    true,
    TradeCategory::kSales,
    u"销售",
    u"销售明细",
    u"客户",
    u"outputdata",
    u"outputdetail",
    &ListLayouts::kSaleOrders,
    RecordKind::OutputData,
    RecordKind::OutputDetail,
    TradeDialog::kSale,
    TradeDialog::kSaleDetail,
    ID_QUERY_OUTPUT,
    ID_MANAGE_OUTPUT,
    ID_MANAGE_OUTPUTDETAIL,
};
