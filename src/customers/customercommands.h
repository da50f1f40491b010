#pragma once

struct CFeatureContext;

// Connects the client and dictionary dialogs to the main window: 资料管理 > "分类属性"
// (CCategoryDlg), 查询搜索 > "客户" (CClientQueryDlg), 资料管理 > "客户" (CClientDlg to add a
// client), and the record lists' add and modify of a client; the address book and the import
// of clients and contacts from spreadsheets join with them, and the document learns the customers'
// categories of the main list. The registry tests the user's permission before a handler runs.
void RegisterCustomerCommands(const CFeatureContext& context);
