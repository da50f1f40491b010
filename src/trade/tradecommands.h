#pragma once

struct CFeatureContext;

// Connects the trade commands to the main window, for purchases and sales alike: 查询搜索 >
// 采购 / 销售 (the order queries), 资料管理 > 采购单 / 销售单 / 采购明细 / 销售明细, and the
// record lists' order and payment dialogs.
void RegisterTradeCommands(const CFeatureContext& context);
