#pragma once

#include <QString>

struct sqlite3;

// Names found by the first letters of their pinyin: users type "zs" for 张三 or "bjhd" for
// 北京华达 faster than the characters themselves.

// The initials of a text, in lower case: the first letter of the reading of each Chinese
// character (ICU's "Han-Latin", which reads a character in the context of its neighbours, so
// 重庆 gives "cq"), Latin letters as they are without accents, everything else left out.
// "IBM中国" gives "ibmzg". Thread-safe.
QString PinyinInitials(const QString& text);

// Whether a search value reads as initials: one or more ASCII letters and nothing else.
bool IsInitialsValue(const QString& value);

// The SQL condition that a column's initials begin with the value, letter case aside, such as
// pinyin_initials([name]) LIKE 'zs%'. Only for values IsInitialsValue accepts.
QString InitialsCondition(const QString& column, const QString& value);

// Makes pinyin_initials(text) known to a connection. Each connection remembers the initials of
// the texts it has read, so a search over thousands of names reads each name only once.
int RegisterPinyinFunction(sqlite3* db);
