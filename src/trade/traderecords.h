#pragma once

#include "views/recorddialogs.h"

class CVantrelDoc;

// The trade's categories of the main list. The codes are what fillers set and what the lists'
// stored queries are kept with.
namespace TradeCategory {
inline constexpr int kPurchases = 1;
inline constexpr int kSales = 2;
inline constexpr int kStatistics = 30;
// A find lists clients: rows of the clients' category (the customers register it), which then
// act as the client list does.
inline constexpr int kFoundClients = 0;
} // namespace TradeCategory

// The trade's record dialogs.
namespace TradeDialog {
inline constexpr RecordDialog kPurchase = "purchase";             // CPurchaseDlg
inline constexpr RecordDialog kSale = "sale";                     // CSaleDlg
inline constexpr RecordDialog kPurchaseDetail = "purchasedetail"; // CTradeDetailDlg, m_bSale = 0
inline constexpr RecordDialog kSaleDetail = "saledetail";         // CTradeDetailDlg, m_bSale = 1
} // namespace TradeDialog

// Tells the document what the main list does with purchase and sales orders (their payments
// listed below, a totals row) and with the statistics table (its chart below).
void RegisterTradeCategories(CVantrelDoc& doc);
