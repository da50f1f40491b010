#pragma once

class QPlainTextEdit;

// Keeps a multi-line edit to at most `maxBytes` bytes of the users' code page (a Chinese
// character counts two), as the program's text limits count: what is typed or pasted beyond
// it is cut off, never in the middle of a character.
void LimitPlainText(QPlainTextEdit* edit, int maxBytes);
