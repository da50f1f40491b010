#pragma once

struct sqlite3;

namespace vantrel::sqlite {

// Makes pinyin_initials(text) known to a connection. Each connection remembers the initials of
// the texts it has read, so a search over thousands of names reads each name only once.
int RegisterPinyinFunction(sqlite3* db);

} // namespace vantrel::sqlite
