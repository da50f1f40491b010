#pragma once

#include <QString>

class QWidget;

// Types text as the keyboard or an input method delivers it: each character a key press and a
// key release carrying that character, sent to the widget (a combo box hands them to its edit).
// Chinese characters arrive as they do from an input method; a line break is the Return key and
// a tab the Tab key.
void TypeInto(QWidget* widget, const QString& text);

// Empties a line edit, the edit of a combo box or a text box, then types text into it.
void Retype(QWidget* widget, const QString& text);

// Replaces the text of a line edit, the edit of a combo box or a text box at once, as pasting
// does: one edit, no keys. For texts too long to type key by key.
void Paste(QWidget* widget, const QString& text);
