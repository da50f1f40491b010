#pragma once

class CVantrelApp;
class ICommandRegistry;
class QWidget;

// 实用工具 > "升级数据库" (the administrator's): brings the open data file up to the current
// layout after copying it beside itself, and says what it added ("已添加：…") or that the
// file is up to date already.
void RegisterUpgradeCommands(CVantrelApp& app, ICommandRegistry& commands, QWidget* window);
