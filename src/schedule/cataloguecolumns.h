#pragma once

class QTableView;

// Widens the columns of a catalogue list to their titles and the values of rows `firstRow` to
// `lastRow`, by the rule every list follows (kit/columnwidths.h; a longer value shows in full in
// its tooltip), then keeps the list at least as wide as its visible columns and a vertical scroll
// bar, so that they fit its box.
void WidenCatalogueColumns(QTableView* list, int firstRow, int lastRow);
