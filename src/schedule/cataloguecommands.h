#pragma once

struct CFeatureContext;

// Connects 资料管理 > "原材料资料" and "产品资料" to the catalogue dialogs.
void RegisterCatalogueCommands(const CFeatureContext& context);
