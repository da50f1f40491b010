#pragma once

#include <QString>

class CADODatabase;

// What the database of a server is to the program, by the rules of a data file.
enum class ServerDatabase {
    Ready,    // ours, or empty and now set up as a new data file is
    Old,      // ours, of an earlier layout: the administrator upgrades it
    Foreign,  // another program's: never written to
    NotSetUp, // empty, and its tables could not be made (`error` says why)
};

// Looks at the open database of a server and sets up an empty one.
ServerDatabase PrepareServerDatabase(CADODatabase& database, QString* error = nullptr);
