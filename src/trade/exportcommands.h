#pragma once

#include <QString>

class CVantrelDoc;
class QWidget;
struct CFeatureContext;

// 查询搜索 > 导出: takes what the main list shows out to an Excel workbook (.xlsx) or a
// comma-separated text file (.csv) the user names.
void RegisterExportCommands(const CFeatureContext& context);

// Asks where to export to, offering `folder` and a name from `title`; empty when the user
// cancels. The name ends in .xlsx or .csv, as the chosen file type says.
QString ChooseExportFile(QWidget* window, const QString& folder, const QString& title);

// Writes the main list to `path` (.csv as text, anything else as a workbook) with a progress
// dialog the user may cancel, and tells the user the outcome. True when the file was written.
bool ExportMainList(CVantrelDoc& doc, QWidget* window, const QString& path);
