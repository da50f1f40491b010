#pragma once

struct CFeatureContext;

// Connects the appointments to the main window: 资料管理 > "约会" (CAppointDlg, which also
// modifies the appointment of the main list's current row), 查询搜索 > "约会"
// (CAppointQueryDlg), and the main list's "增加记录" while it lists appointments.
void RegisterAppointCommands(const CFeatureContext& context);
