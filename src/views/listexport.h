#pragma once

#include "data/tablefile.h"

#include <QString>

class CRecordListView;

// A record list as the user sees it, for files and paper: the shown columns in the order the
// user has dragged them into, with their current widths, every row and the totals row; never
// the hidden record-number column. The cells are read from the list while the content is
// used, so the list must outlive it and stay unchanged meanwhile.
//
// A column whose cells all read as amounts, percentages, days or times (totals row and
// empty cells aside) is of that kind; every other column is text, so order numbers and
// telephone numbers keep their leading zeros.
TableFileContent ListContent(const CRecordListView& view, const QString& name);

// The rows that show records, the totals row not counted.
int ListRecordRows(const CRecordListView& view);

class CVantrelView;

// What the main list shows, in words: the caption of its category, or the caption its filler
// gave a statistics table. Names exported files and titles printed pages.
QString MainListTitle(const CVantrelView& view);
