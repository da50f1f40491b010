#pragma once

#include <QString>

class CADODatabase;
class CVantrelDoc;

// The address book in the main window: the main list as category 20 ("通讯录") with the
// address-book columns, the secondary list emptied (a click on an entry shows nothing below).
//
// Lays the list out, runs the statement and lists its rows; when the statement does not run the
// list stays empty in its new layout and false is returned.
bool ShowAddressList(CVantrelDoc& doc, CADODatabase* database, const QString& sql);
