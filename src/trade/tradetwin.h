#pragma once

#include "data/recordnumber.h"
#include "views/recorddialogs.h"

struct ListLayout;

// Purchases and sales are twins: the same records, lists and dialogs over two pairs of tables.
// Everything that tells them apart is in their descriptor, so code written once for a trade
// takes the descriptor instead of asking which trade it is.
struct TradeTwin
{
    bool sale;                     // m_bSale
    int category;                  // the main list's category of the trade's orders
    const char16_t* word;          // "采购" / "销售": captions and messages
    const char16_t* detailWord;    // "采购明细" / "销售明细"
    const char16_t* clientLabel;   // "供应商" / "客户"
    const char16_t* orderTable;    // inputdata / outputdata
    const char16_t* detailTable;   // inputdetail / outputdetail
    const ListLayout* orderLayout; // the main list of the trade's orders
    RecordKind orderKind;
    RecordKind detailKind;
    RecordDialog orderDialog;
    RecordDialog detailDialog;
    int queryCommand;  // 查询搜索 > 采购 / 销售
    int orderCommand;  // 资料管理 > 采购单 / 销售单
    int detailCommand; // 资料管理 > 采购明细 / 销售明细
};

extern const TradeTwin kPurchaseTwin;
extern const TradeTwin kSaleTwin;
