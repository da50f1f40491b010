#pragma once

#include "views/nameentry.h"

#include <QString>

// The client an order is stored for, from the text typed into its client box: the client whose
// name the text is, else the one client whose name begins with it. ASCII letters match in
// either case, as the client dialog finds a duplicate name; a text equal to a name as typed
// wins over the same name in other letter case. Empty when the text is empty, names no client,
// or could be more than one (two names equal to it in other case, or two names beginning with
// it and none equal to it).
QString OrderClientName(const CNameEntries& clients, const QString& text);
