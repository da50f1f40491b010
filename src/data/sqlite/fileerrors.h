#pragma once

#include <QString>

struct sqlite3;

// What went wrong with a file, in the Chinese words every message shows. SQLite's own texts
// ("file is not a database", "database or disk is full") are English and never reach the user.

// The reason alone, for a SQLite result code (primary or extended); `systemError` is the
// errno behind an I/O error, 0 when unknown.
QString SqliteReason(int code, int systemError = 0);

// Whether the code (and errno) means that the disk, or the user's share of it, is full.
bool IsDiskFull(int code, int systemError = 0);

// A failure on `path`: "<reason>：<path>". A full disk names the folder that is full.
QString FileFailure(int code, int systemError, const QString& path);
// The last failure of a connection on the file it has open.
QString FileFailure(sqlite3* db);
