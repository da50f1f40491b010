#pragma once

#include <QString>

namespace vantrel::db {
class Connection;
}

// Where a backend keeps the pinyin initials of the searched names in columns of their own
// (sqldialect.h StoresInitials), the recordsets write them with every name. Rows that came in
// another way (copied in whole, written by a statement) get theirs here: every row whose name
// has no initials stored, in one transaction. Nothing to do on a backend that works them out
// in the statement.
bool FillStoredInitials(vantrel::db::Connection& connection, QString* error = nullptr);
