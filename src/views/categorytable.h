#pragma once

#include "views/recorddialogs.h"
#include "views/recordfields.h"

#include <optional>
#include <span>

class CDependants;

// What the main record list does for one category of rows (RecordCategory). A new category is
// one more row of the table.
struct CategoryInfo
{
    int code;
    // The caption the list shows when it becomes active; null when the filler sets its own.
    const char16_t* caption;
    // The dialog that adds and modifies the category's records; none when the rows are no
    // records of the data file (area codes, statistics), which are then not deleted either.
    std::optional<RecordDialog> dialog = std::nullopt;
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
    // The list ends with a totals row ("合计"), which is no record.
    bool totalsRow = false;
    // A click on a row lists the record's dependants below ...
    const CDependants* dependants = nullptr;
    // ... or shows this column's text in the text view (-1: neither).
    int textColumn = -1;
};

// The row of a category; null for codes without one (kNone).
const CategoryInfo* FindCategory(int code);
