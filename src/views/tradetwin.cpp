#include "views/tradetwin.h"

#include "kit/commandids.h"
#include "views/listlayouts.h"
#include "views/recordcategory.h"

const TradeTwin kPurchaseTwin{
    false,
    RecordCategory::kPurchases,
    u"采购",
    u"采购明细",
    u"供应商",
    u"inputdata",
    u"inputdetail",
    &ListLayouts::kPurchaseOrders,
    RecordKind::InputData,
    RecordKind::InputDetail,
    RecordDialog::Purchase,
    RecordDialog::PurchaseDetail,
    ID_QUERY_INPUT,
    ID_MANAGE_INPUT,
    ID_MANAGE_INPUTDETAIL,
};

const TradeTwin kSaleTwin{
    true,
    RecordCategory::kSales,
    u"销售",
    u"销售明细",
    u"客户",
    u"outputdata",
    u"outputdetail",
    &ListLayouts::kSaleOrders,
    RecordKind::OutputData,
    RecordKind::OutputDetail,
    RecordDialog::Sale,
    RecordDialog::SaleDetail,
    ID_QUERY_OUTPUT,
    ID_MANAGE_OUTPUT,
    ID_MANAGE_OUTPUTDETAIL,
};
