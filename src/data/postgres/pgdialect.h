#pragma once

#include "data/jetsql.h"
#include "data/sqldialect.h"

namespace vantrel::postgres {

// The column every table has for the identity of its rows, given by the server. It has the
// name of the recordsets' hidden identity column, so that they hide it where * selects it.
inline constexpr const char* kRowIdentity = jetsql::kRowIdColumn;
// The collation of the code-page-like list order, made with the schema.
inline constexpr char kOrderCollation[] = "vantrel_order";

// PostgreSQL's SQL: names folded to lower case, rows by their identity column, case-blind
// text through citext columns, the list order through an ICU collation.
const db::Dialect& Dialect();

} // namespace vantrel::postgres
