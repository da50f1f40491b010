#pragma once

class CVantrelDoc;
struct CFeatureContext;

// Connects the contact dialog to the main window: 资料管理 > "联系人" (CLinkmanDlg to add a
// contact; the registry tests the user's permission first) and the record dialog the lists
// open for contacts (CustomerDialog::kContact).
void RegisterContactCommands(const CFeatureContext& context);

// The record-dialog part alone: the secondary list's add (client preset) and modify of a
// contact open CLinkmanDlg, which rewrites the secondary list's rows.
void RegisterContactDialog(CVantrelDoc& doc);
