#pragma once

#include "views/listpanes.h"
#include "views/recorddialogs.h"
#include "views/recordfields.h"

#include <memory>
#include <span>
#include <vector>

class CDependants;
class CRecordListModel;

// What the main record list does for one category of rows. A feature describes each of its
// categories once and registers it with the document (CCategoryRegistry); the list looks the
// row up by the code its filler set.
struct CategoryInfo
{
    // The stored code fillers set (CVantrelView::SetCategory); each feature names its own.
    int code = kNoCategory;
    // The caption the list shows when it becomes active; null when the filler sets its own.
    const char16_t* caption = nullptr;
    // The dialog that adds and modifies the category's records; empty when the rows are no
    // records of the data file (area codes, statistics), which are then not deleted either.
    RecordDialog dialog = {};
    // The menu command (资料管理 > ...) whose permission adding, modifying and deleting the
    // category's records from the list needs.
    int manageCommand = 0;
    // Reads the record to modify (%1 its number), what to show when that fails, and the
    // columns handed to the dialog.
    const char16_t* recordSql = nullptr;
    const char16_t* readFailure = nullptr;
    std::span<const FieldSpec> fields = {};
    // Non-zero: a modify runs this menu command (with its permission test) instead.
    int modifyCommand = 0;
    // Non-null: the list ends with a totals row ("合计"), which is no record; this recounts it
    // after a row was deleted.
    void (*recountTotals)(CRecordListModel& list) = nullptr;
    // A click on a row lists the record's dependants below ...
    std::shared_ptr<const CDependants> dependants = nullptr;
    // ... or shows this column's text in the text view (-1: neither).
    int textColumn = -1;
    // The lower pane may show a chart of the rows; any other category takes the pane back.
    bool chart = false;
    // The tables the rows are read from: while the list shows the category, the info bar says
    // when another workstation changes one of them.
    std::span<const char* const> tables = {};
};

// The categories the features registered, by code.
class CCategoryRegistry
{
public:
    // A second row for the same code replaces the first.
    void Register(CategoryInfo category);
    // The row of a category; null for codes nobody registered (kNoCategory).
    const CategoryInfo* Find(int code) const;
    // Every dialog the categories and their dependants open, each once.
    std::vector<RecordDialog> Dialogs() const;

private:
    std::vector<CategoryInfo> m_categories;
};
