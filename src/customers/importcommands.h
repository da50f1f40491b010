#pragma once

#include "customers/importfields.h"

#include <QString>

#include <memory>

class CVantrelDoc;
class QWidget;
struct CFeatureContext;

// 资料管理 > "导入客户…" and "导入联系人…": clients and their contacts from an Excel workbook
// (.xlsx) or a CSV file the user picks, through CImportDlg. The registry tests the flag that
// adds records of the kind (mclient, mlinkman) first.
void RegisterImportCommands(const CFeatureContext& context);

// Asks for the file to import, starting in `lastFolder` and keeping the file's folder there;
// empty when the user cancels.
QString ChooseImportFile(QWidget* window, std::shared_ptr<QString> lastFolder, ImportKind kind);

// Reads the file into the import dialog and runs it; a file that cannot be imported is
// reported instead.
void ImportFile(CVantrelDoc& doc, QWidget* window, ImportKind kind, const QString& path);
