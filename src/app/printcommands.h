#pragma once

class CVantrelDoc;
class ICommandRegistry;
class QWidget;

// 文件 > "打印预览…" and "打印…": the main list as a table on paper, or in a PDF file through
// the same print dialog.
void RegisterPrintCommands(CVantrelDoc& doc, ICommandRegistry& commands, QWidget* window);
