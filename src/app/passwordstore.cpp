#include "app/passwordstore.h"

#include "app/blowfish.h"
#include "data/gbktext.h"

#include <sodium.h>

using namespace Qt::StringLiterals;

namespace passwords {
namespace {

constexpr char kHashPrefix[] = "$argon2id$";

bool SodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

QString Hash(const QString& password)
{
    if (!SodiumReady())
        return {};
    const QByteArray bytes = ToGbk(password);
    char stored[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(stored, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return QString::fromLatin1(stored);
}

Match Check(const QString& typed, const QString& stored)
{
    // A character without code-page bytes would be taken as "?": "p한" is not "p?".
    if (!IsGbkText(typed))
        return Match::No;
    if (!stored.startsWith(QLatin1StringView(kHashPrefix)))
        return CBlowfish::PasswordMatches(typed, stored) ? Match::YesOutdated : Match::No;
    if (!SodiumReady())
        return Match::No;
    const QByteArray hash = stored.toLatin1();
    const QByteArray bytes = ToGbk(typed);
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0
               ? Match::Yes
               : Match::No;
}

} // namespace passwords
