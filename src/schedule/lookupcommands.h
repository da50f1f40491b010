#pragma once

struct CFeatureContext;

// Connects the reference lookups to the main window: 实用工具 > "邮编区号查询" opens the
// postcode and area-code lookup, 实用工具 > "常用电话查询" the common telephone numbers.
void RegisterLookupCommands(const CFeatureContext& context);
