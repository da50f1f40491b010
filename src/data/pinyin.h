#pragma once

#include <QString>

// Names found by the first letters of their pinyin: users type "zs" for 张三 or "bjhd" for
// 北京华达 faster than the characters themselves.

// The initials of a text, in lower case: the first letter of the reading of each Chinese
// character as ICU's "Han-Latin" reads it, in the context of its neighbours (so 重庆 gives
// "cq"; the readings are worked out from ICU when the program is built), Latin letters as they
// are without accents, everything else left out. "IBM中国" gives "ibmzg". Thread-safe.
QString PinyinInitials(const QString& text);

// Whether a search value reads as initials: one or more ASCII letters and nothing else.
bool IsInitialsValue(const QString& value);

// The function by which the program's statements ask for the initials of a text; each
// backend's dialect says how it finds them.
inline constexpr char kInitialsFunction[] = "pinyin_initials";

// The SQL condition that a column's initials begin with the value, letter case aside, such as
// pinyin_initials([name]) LIKE 'zs%'. Only for values IsInitialsValue accepts.
QString InitialsCondition(const QString& column, const QString& value);
