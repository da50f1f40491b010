#pragma once

#include <QString>

// How a password is kept in `power`. Every workstation that opens the data can read the
// table, so a password set now is kept as a salted, slow hash of its code-page bytes (argon2id,
// in libsodium's encoded form "$argon2id$v=19$m=…"), from which it cannot be read back. Rows
// written before keep the reversible Blowfish form (blowfish.h): it still signs in, and the
// sign-in replaces it with a hash.
namespace passwords {

// The stored form of a password; empty when no hash could be made (out of memory).
QString Hash(const QString& password);

enum class Match {
    No,
    Yes,
    YesOutdated, // the stored form is the reversible one: store Hash(typed) in its place
};
Match Check(const QString& typed, const QString& stored);

} // namespace passwords
