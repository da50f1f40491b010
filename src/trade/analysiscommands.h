#pragma once

struct CFeatureContext;

// Connects 查询搜索 > "统计" (CStatDlg) and "查找" (CFindDlg) to the main window; the registry
// tests the user's rights to count and to find first.
void RegisterAnalysisCommands(const CFeatureContext& context);
