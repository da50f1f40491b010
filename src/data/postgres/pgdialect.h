#pragma once

#include "data/jetsql.h"
#include "data/sqldialect.h"

namespace vantrel::postgres {

// The column every table has for the identity of its rows, given by the server. It has the
// name of the recordsets' hidden identity column, so that they hide it where * selects it.
inline constexpr const char* kRowIdentity = jetsql::kRowIdColumn;
// The function of the schema that gives a text's sort bytes in the list order.
inline constexpr char kOrderKeyFunction[] = "vantrel_order_key";

// PostgreSQL's SQL: names folded to lower case, rows by their identity column, case-blind
// text through citext columns, the list order through the code-page bytes of the text.
const db::Dialect& Dialect();

} // namespace vantrel::postgres
