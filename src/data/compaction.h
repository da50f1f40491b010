#pragma once

#include <QString>

#include <functional>

class DataFileUsers;

// Rewrites a data file without its unused space, so that nothing can be lost on the way:
// the file is copied into "<name>.tmp" beside it ("sale.tmp" for "sale.db"), the copy is
// checked (integrity, the same tables with the same row counts) and flushed to disk, and only
// then does it take the data file's place in one rename. Stopped at any moment, the data file
// is either the old one or the complete new one; a copy left behind is removed next time.
//
// It runs only while `users` gets the exclusive lock, so never while another program has the
// file open; the lock stays exclusive afterwards, and the caller turns it into its own shared
// lock (DataFileUsers::LockShared).
enum class CompactionResult {
    Compacted,
    InUse,  // another program has the file open: left alone
    Failed, // left alone; `error` says why
};

// The points between the steps, in order. For tests that stop the work at each of them.
enum class CompactionStep {
    Locked,       // exclusive lock held
    StaleRemoved, // a copy left from an earlier run is gone
    Copied,       // the copy is written
    Verified,     // the copy is checked
    Flushed,      // the copy is on disk with the file's permissions
    Released,     // the data file is closed again
    Replaced,     // the copy has taken the data file's place
};
// Returning false stops the work on the spot, as if the program had been killed there.
using CompactionProbe = std::function<bool(CompactionStep)>;

QString CompactionTempPath(const QString& dataFile);

CompactionResult CompactDataFile(const QString& dataFile, DataFileUsers& users,
                                 QString* error = nullptr, const CompactionProbe& probe = {});
