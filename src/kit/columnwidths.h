#pragma once

class QTableView;

// Column widths that show what the columns hold, the same rule for every list of the program:
// a column is at least as wide as its title and as the longest of its values in the first
// kMeasuredRows rows, up to kMaximumWidth. Only those rows are measured, so a list of 100,000
// rows sizes its columns as fast as one of 200. Columns are widened, never narrowed (a width a
// layout or the user gave stays when the contents need less), and hidden columns, such as the
// record number, stay hidden.
namespace ColumnWidths {
inline constexpr int kMeasuredRows = 200;
inline constexpr int kMaximumWidth = 320;
} // namespace ColumnWidths

// Widens the view's columns to their titles and to the values of rows first..last (those of
// them within the measured rows); last -1 means the last row.
void FitColumnsToContents(QTableView& view, int first = 0, int last = -1);

// Keeps the view's columns fitted while its model changes: rows that come in and values that
// change within the measured rows widen their columns.
void KeepColumnsFitted(QTableView& view);
