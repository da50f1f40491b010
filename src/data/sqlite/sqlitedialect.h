#pragma once

#include "data/sqldialect.h"

namespace vantrel::sqlite {

// The name under which the connection registers the code-page collation.
inline constexpr char kCollation[] = "GBK";

// SQLite's SQL: rows by rowid, case-blind text through the NOCASE collation, the code-page
// order through the collation kCollation, initials through the connection's own function.
const db::Dialect& Dialect();

} // namespace vantrel::sqlite
