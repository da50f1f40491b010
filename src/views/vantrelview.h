#pragma once

#include "views/listpanes.h"
#include "views/recorddialogs.h"
#include "views/recordlistview.h"

#include <QString>

#include <functional>

struct CategoryInfo;

// The main record list in the upper right pane. It never decides what to list: a query dialog
// or a command fills it with one category of records (a code some feature registered with the
// document, CCategoryRegistry) and tells it which category that is, what caption to show and
// which SQL text produced the rows. Fillers:
//
//   CVantrelView* view = doc.MainList();
//   view->SetCategory(CustomerCategory::kClients);    // clears a query of another category
//   doc.ShowBottomView(BottomView::kList);            // kText for notes, appointments, reminders
//   SetLayoutColumns(view->List(), layout);
//   if (AppendLayoutRows(view->List(), layout, doc.Database(), sql)) {
//       view->SetCurrentQuery(sql);
//       view->SetRefill([&doc, sql] { ShowClients(doc, sql); });   // what F5 runs
//   }
//
// The view then reacts to the user as the category's registered row says: a click
// shows the record's dependants in the lower pane (or its text in the text view), a double
// click or "修改记录" opens the record's dialog to modify it, "增加记录" opens the category's
// dialog empty and "删除记录" deletes the record after a confirmation.
class CVantrelView : public CRecordListView
{
    Q_OBJECT
public:
    explicit CVantrelView(CVantrelDoc& doc, QWidget* parent = nullptr);

    int Category() const { return m_nCategory; }
    // A new category also forgets the current query, so a delete never re-runs the statement
    // of other rows. Every fill starts so: it also forgets the refill.
    void SetCategory(int category);
    // What fills the list again as it was filled (F5); fillers set it after SetCategory. A list
    // without one is only shown with its caption again.
    void SetRefill(std::function<void()> refill) { m_refill = std::move(refill); }
    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& caption) { m_strCaption = caption; }
    // The caption a category shows on activation; empty for a category whose filler sets
    // its own (statistics), "信息提示栏" for one nobody registered.
    QString CategoryCaption(int category) const;

    // The view became the active one: the caption follows the category and the info bar
    // shows it, or that other workstations changed the rows meanwhile.
    void Activate() override;
    // F5: fills the list again as it was filled (the query dialog's or navigation item's
    // statement read anew) and stays on the record it was on, where that is still listed;
    // the info bar shows the caption again.
    void Refresh();
    // Whether another workstation changed the rows' tables since the list was filled.
    bool OthersChanged() const { return m_bOthersChanged; }
    // A left click on a row: the record's dependants go into the lower pane.
    void OnClickRow(int row);

public Q_SLOTS:
    void OnRecordAdd() override;
    void OnRecordEdit() override;

protected:
    bool CanAdd() const override;
    bool CanEdit() const override;
    bool CanDelete() const override;
    int ManageCommand() const override;
    void RowDeleted() override;

private:
    const CategoryInfo* Info() const;
    void OnTableChanged(const QString& table);
    // The row that shows the record of that number, -1 when none does.
    int RowOfRecord(int number) const;
    // The record number of a row that shows a record; -1 for none (no row, the totals row).
    int RecordOfRow(int row) const;
    bool IsTotalsRow(int row) const;
    void ShowText(int row, int column);

    int m_nCategory = kNoCategory;
    QString m_strCaption;
    bool m_bOthersChanged = false;
    std::function<void()> m_refill;
};
