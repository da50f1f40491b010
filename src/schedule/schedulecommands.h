#pragma once

struct CFeatureContext;

// Connects the schedule commands to the main window: 查询搜索 > "提醒" lists every reminder.
void RegisterScheduleCommands(const CFeatureContext& context);
