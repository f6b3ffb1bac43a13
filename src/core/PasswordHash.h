#pragma once

#include <QString>

#include <optional>

// Passwords are kept as Argon2id hashes (libsodium's crypto_pwhash_str), never as typed. What counts of a
// typed password is its first 30 characters without trailing blanks; case counts.
namespace jornix {

inline constexpr int PasswordLength = 30; // the characters every password entry takes

// The part of a typed password that is hashed and compared.
QString SignificantPassword(const QString& typed);

// The hash to store for a typed password; nothing when hashing failed (out of memory).
std::optional<QString> HashPassword(const QString& typed);

// Whether a typed password is the one whose hash is stored. A blank stored value is a blank password.
bool PasswordMatches(const QString& typed, const QString& stored);

// Tests hash with libsodium's minimum limits to stay fast; checking reads the limits from the hash itself.
void UseMinimumPasswordLimits(bool minimum);

} // namespace jornix
