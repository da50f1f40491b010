#pragma once

#include <QString>

class CVantrelDoc;
class QWidget;
struct CFeatureContext;

// 资料管理 > "导入通讯录（vCard）…" and "导出通讯录（vCard）…": the address book to and from the
// .vcf files of phones and other address books. Both need the address book's flag.
void RegisterAddressCardCommands(const CFeatureContext& context);

// Writes the entries the main list shows as the address book to `path` as vCard 3.0 or 4.0
// cards, and tells the user the outcome. True when the file was written.
bool ExportAddressCards(CVantrelDoc& doc, QWidget* window, const QString& path, bool version4);

// Reads `path` and runs the import dialog over its cards; afterwards the main list shows the
// entries added. True when entries were added.
bool ImportAddressCards(CVantrelDoc& doc, QWidget* window, const QString& path);
