#pragma once

class QPlainTextEdit;

// Keeps a multi-line edit to at most `maxLength` characters, as a line edit's maximum length
// does: what is typed or pasted beyond it is cut off, never in the middle of a character.
void LimitPlainText(QPlainTextEdit* edit, int maxLength);
