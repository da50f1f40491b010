#pragma once

class CAppContext;
class CVantrelDoc;
struct CFeatureContext;

// Connects the payment dialog (CTradeDetailDlg) of both trades to the main window: 资料管理 >
// "采购明细" / "销售明细" add a payment with no order chosen (the registry tests the user's
// permission first), and the secondary list's add and modify of an order's payments open it
// (TradeDialog::kPurchaseDetail / SaleDetail).
void RegisterDetailCommands(const CFeatureContext& context);

// The record-dialog part alone: the secondary list's requests open the dialog over the
// document's lists, at the program's clock.
void RegisterDetailDialogs(CVantrelDoc& doc, const CAppContext& app);
