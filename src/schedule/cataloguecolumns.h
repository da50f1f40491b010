#pragma once

class QTableView;

// Widens the visible columns of a catalogue list so that their titles and the values of rows
// `firstRow` to `lastRow` show uncut, up to `maxWidth` (a longer value shows in full in its
// tooltip). Columns never narrow here. The list is then kept at least as wide as its visible
// columns and a vertical scroll bar, so they fit its box.
void WidenCatalogueColumns(QTableView* list, int firstRow, int lastRow, int maxWidth);
