#pragma once

#include "views/recorddialogs.h"
#include "views/recordlistview.h"

class CDependants;

// The secondary list in the lower right pane: the records that depend on the one picked in the
// main list (a client's contacts, an order's payments). What its add and modify commands open
// follows the main list's category. Fillers empty it (and rebuild its columns when the layout
// changes), append rows and set its current query.
class CMiddleListView : public CRecordListView
{
    Q_OBJECT
public:
    explicit CMiddleListView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // The view became the active one: the main list's caption names the dependants and the
    // info bar shows it.
    void Activate() override;

public Q_SLOTS:
    void OnRecordAdd() override;
    void OnRecordEdit() override;

protected:
    bool CanAdd() const override;
    bool CanEdit() const override;
    // Rows left from a main list of another kind name no records it knows.
    bool CanDelete() const override;
    int ManageCommand() const override;
    void RowDeleted() override;

private:
    // What the main list's category lists here; null when it lists nothing.
    const CDependants* Dependants() const;
};
