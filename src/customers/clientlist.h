#pragma once

#include <QString>

class CADODatabase;
class CRecordListModel;
class CVantrelDoc;

// The client list of the main window: the main list as category 0 with the caption "客户列表"
// and its 23 columns (the last one, untitled and 0 wide, holds the record number), and the
// secondary list emptied and laid out for the contacts a click on a client shows.
//
// Runs the statement and lists its rows; when the statement does not run nothing changes and
// false is returned.
bool ShowClientList(CVantrelDoc& doc, CADODatabase* database, const QString& sql);

// The 23 columns of the client list.
void InsertClientColumns(CRecordListModel& list);
// The 32 columns of a client's contacts in the secondary list.
void InsertContactColumns(CRecordListModel& list);
