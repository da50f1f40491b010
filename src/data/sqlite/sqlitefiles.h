#pragma once

// The data-file checks and the upgrade on a SQLite handle of their own (datafilekind.h and
// upgrade.h give them on a path or on the program's connection).

#include "data/datafilekind.h"
#include "data/upgrade.h"

#include <QDateTime>
#include <QString>

#include <optional>

struct sqlite3;

DataFileKind InspectDataFile(sqlite3* db);

// Null when the file cannot be read, with the reason in `error`.
std::optional<SchemaGaps> FindSchemaGaps(sqlite3* db, QString* error = nullptr);

// Upgrades the data file open on `db` at `path`, as UpgradeDataFile on a connection does.
UpgradeResult UpgradeDataFile(sqlite3* db, const QString& path, const QDateTime& when);
