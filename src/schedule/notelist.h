#pragma once

#include <QString>

class CVantrelDoc;

// The main list as category 3: the notes a statement selects, each with its day and weekday,
// weather, caption and text, and the text view below for a note's text. The statement becomes
// the list's current query when it runs; a statement that does not run leaves the list empty.
void ShowNoteList(CVantrelDoc& doc, const QString& sql);
