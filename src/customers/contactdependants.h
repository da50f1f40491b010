#pragma once

#include "customers/customerrecords.h"
#include "views/dependants.h"

// A client's contact persons.
class CContactDependants final : public CDependants
{
public:
    QString Caption() const override;
    RecordDialog Dialog() const override { return CustomerDialog::kContact; }
    int ManageCommand() const override;
    const ListLayout& Layout() const override;
    bool HasTotalsRow() const override { return false; }
    void Show(CVantrelDoc& doc, int number) const override;
    CRecordRequest AddRequest(const CRecordListModel& main, int row) const override;
    bool ReadForModify(CADODatabase* database, int number, CRecordRequest& request,
                       QString& failure) const override;
};
