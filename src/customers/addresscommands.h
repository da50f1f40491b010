#pragma once

struct CFeatureContext;

// Connects the address book to the main window: 资料管理 > "通讯录" (CAddressDlg to add an
// entry), 查询搜索 > "通讯录" (CAddressQueryDlg), and the main list's add and modify of an
// entry. The registry tests the user's permission before a handler runs.
void RegisterAddressCommands(const CFeatureContext& context);
