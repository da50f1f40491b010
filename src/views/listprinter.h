#pragma once

#include "data/tablefile.h"

#include <QString>

class QPagedPaintDevice;

// Prints a table as a list shows it (ListContent): the title atop every page, the column
// titles repeated on every page, the rows below them, and "第 n 页 / 共 m 页" at the foot. The
// columns share the page's width in proportion to their contents (title and longest value); a
// table whose contents are wider than the page is drawn in a smaller font, its texts cut short
// only where even the smallest font does not fit. Chinese text is drawn in WenQuanYi Micro Hei
// where it is installed, else in the program's font.

// Turns the page sideways when the list's columns, as wide as the list shows them, are wider
// than an upright page, upright otherwise.
// Call before the print dialog, so the user still sees and may change it.
void FitListOrientation(QPagedPaintDevice& device, const TableFileContent& content);

// Paints the table onto the device's pages; returns the number of pages.
int PrintList(QPagedPaintDevice& device, const QString& title, const TableFileContent& content);
