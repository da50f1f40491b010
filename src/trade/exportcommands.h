#pragma once

#include <QString>

#include <memory>

class CVantrelDoc;
class QWidget;
struct CFeatureContext;

// 查询搜索 > 导出: takes what the main list shows out to an Excel workbook (.xlsx) or a
// comma-separated text file (.csv) the user names.
void RegisterExportCommands(const CFeatureContext& context);

// Asks where to export to, starting in `lastFolder` (and keeping the file's folder there)
// with a name from `title`; empty when the user cancels. The name ends in .xlsx or .csv, as
// the chosen file type says.
QString ChooseExportFile(QWidget* window, std::shared_ptr<QString> lastFolder,
                         const QString& title);

// Writes the main list to `path` (.csv as text, anything else as a workbook) with a progress
// dialog the user may cancel, and tells the user the outcome. True when the file was written.
bool ExportMainList(CVantrelDoc& doc, QWidget* window, const QString& path);
