#pragma once

#include <QString>

class CADODatabase;
class CVantrelDoc;

// The client list of the main window: the main list as category 0 with the caption "客户列表"
// and the client columns, and the secondary list emptied and laid out for the contacts a click
// on a client shows.
//
// Runs the statement and lists its rows; when the statement does not run nothing changes and
// false is returned.
bool ShowClientList(CVantrelDoc& doc, CADODatabase* database, const QString& sql);
