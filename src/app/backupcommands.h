#pragma once

class CVantrelApp;
class ICommandRegistry;
class QWidget;

// 文件 > "备份数据…" writes a copy of the data file, while it is in use, to a folder the user
// picks (remembered as BackupPath in setup.ini). 文件 > "恢复数据…" checks a chosen backup,
// keeps the current file beside it, puts the backup in its place and ends the program, which
// must be started again on the restored file.
void RegisterBackupCommands(CVantrelApp& app, ICommandRegistry& commands, QWidget* window);
