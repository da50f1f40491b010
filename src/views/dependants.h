#pragma once

#include "views/listlayout.h"
#include "views/recorddialogs.h"

#include <QString>

class CADODatabase;
class CMiddleListView;
class CRecordListModel;
class CVantrelDoc;

// The records that belong to a record of the main list (a client's contacts, an order's
// payments): a click on the main record lists them in the secondary list, and the secondary
// list adds and modifies them with their own dialog.
class CDependants
{
public:
    virtual ~CDependants() = default;

    // The main list's caption while the secondary list is the active view.
    virtual QString Caption() const = 0;
    virtual RecordDialog Dialog() const = 0;
    // The menu command whose permission adding, modifying and deleting them needs.
    virtual int ManageCommand() const = 0;
    virtual const ListLayout& Layout() const = 0;
    // Whether the list ends with a totals row ("合计").
    virtual bool HasTotalsRow() const = 0;
    // Lists the dependants of the main record `number` in the secondary list.
    virtual void Show(CVantrelDoc& doc, int number) const = 0;
    // The request that adds a dependant to the main record shown in `row` of the main list.
    virtual CRecordRequest AddRequest(const CRecordListModel& main, int row) const = 0;
    // Reads the dependant `number` into a modify request; false with the text to show when it
    // cannot be read.
    virtual bool ReadForModify(CADODatabase* database, int number, CRecordRequest& request,
                               QString& failure) const = 0;
    // A dependant was deleted from the secondary list: what its rows add up to is recounted.
    virtual void RowDeleted(CMiddleListView& /*lower*/) const {}
};
