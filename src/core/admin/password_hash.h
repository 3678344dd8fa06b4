#pragma once

#include <QString>
#include <QVariant>

namespace tavomi::passwords {

// Passwords are kept in 权限密码.密码 as Argon2id strings (libsodium's crypto_pwhash_str).
// Two stored values keep their own meaning: the empty string is "no password, log in with an
// empty box", and NULL is "no password can open this account".

// The value to store for a typed password: trimmed; empty stays empty, anything else is hashed.
QString hashForStorage(const QString &typed);
// True when the typed password (trimmed) opens the stored value (as read from the database).
bool matches(const QVariant &stored, const QString &typed);
// True when the stored text is one of our hashes.
bool isHash(const QString &stored);

// Cheaper hashing parameters for the test programs; the program always uses the interactive ones.
void useFastHashing(bool fast);

} // namespace tavomi::passwords
