#include "core/PasswordHash.h"

#include "platform/store/TextValues.h"

#include <sodium.h>

#include <cstring>

namespace jornix {
namespace {

bool minimumLimits = false;

bool SodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

QString SignificantPassword(const QString& typed)
{
    return StripTrailingBlanks(CutToWidth(typed, PasswordLength));
}

std::optional<QString> HashPassword(const QString& typed)
{
    if (!SodiumReady())
        return std::nullopt;
    const QByteArray password = SignificantPassword(typed).toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    const unsigned long long opsLimit =
        minimumLimits ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const size_t memLimit = minimumLimits ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str(hash, password.constData(), quint64(password.size()), opsLimit, memLimit) != 0)
        return std::nullopt;
    return QString::fromLatin1(hash);
}

bool PasswordMatches(const QString& typed, const QString& stored)
{
    const QByteArray password = SignificantPassword(typed).toUtf8();
    if (stored.isEmpty())
        return password.isEmpty();
    const QByteArray hash = stored.toLatin1();
    if (!SodiumReady() || hash.size() >= crypto_pwhash_STRBYTES)
        return false;
    char terminated[crypto_pwhash_STRBYTES] = {};
    memcpy(terminated, hash.constData(), size_t(hash.size()));
    return crypto_pwhash_str_verify(terminated, password.constData(), quint64(password.size())) == 0;
}

void UseMinimumPasswordLimits(bool minimum)
{
    minimumLimits = minimum;
}

} // namespace jornix
