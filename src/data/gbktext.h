#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Chinese text as the users' code page sees it. Limits count bytes (a Chinese character is
// two), and sorted lists follow the byte order of that code page, which puts common
// characters in pinyin order. ASCII letters compare without regard to case.
// Whether the code-page converter exists (Qt takes it from ICU). Without it every text would
// convert to no bytes at all, so passwords and byte lengths would be wrong: the program must not
// run.
bool GbkAvailable();
QByteArray ToGbk(const QString& text);
QString FromGbk(const QByteArray& bytes);
int GbkLength(const QString& text);
// Whether every character of the text has code-page bytes; the code page writes any other
// as "?".
bool IsGbkText(const QString& text);
// The longest beginning of the text of at most `limit` code-page bytes, never cut inside a
// character.
QString GbkLeft(const QString& text, int limit);
// <0, 0, >0 like strcmp, over the code-page bytes with ASCII letters folded.
int CompareGbk(QStringView a, QStringView b);
// The same order over UTF-8 bytes, for the database's collation.
int CompareGbkUtf8(const char* a, int aLength, const char* b, int bLength);
