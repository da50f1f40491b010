#pragma once

#include <QString>

class CADODatabase;
class CVantrelDoc;
struct ListLayout;

// Fills the main list with rows of the reference file: the category (RecordCategory) and its
// caption, the layout's columns, then the statement's rows in the file's order. The lower pane
// shows an empty secondary list, since reference rows have no dependants. A statement that
// does not run leaves the list empty under its new columns. Nothing is kept as the current
// query: reference rows are never deleted.
void ShowReferenceList(CVantrelDoc& doc, CADODatabase* reference, int category,
                       const ListLayout& layout, const QString& sql);
