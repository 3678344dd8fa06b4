#include "admin/password_hash.h"

#include "common/error.h"

#include <sodium.h>

#include <QByteArray>

namespace tavomi::passwords {

namespace {
bool g_fast = false;

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw Error(QStringLiteral("密码库初始化失败"));
}
} // namespace

void useFastHashing(bool fast)
{
    g_fast = fast;
}

bool isHash(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2"));
}

QString hashForStorage(const QString &typed)
{
    const QByteArray plain = typed.trimmed().toUtf8();
    if (plain.isEmpty())
        return QString(QLatin1String(""));
    ensureSodium();
    const unsigned long long ops = g_fast ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const size_t mem = g_fast ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, plain.constData(), static_cast<unsigned long long>(plain.size()), ops, mem,
                              crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw Error(QStringLiteral("密码加密失败：内存不足"));
    return QString::fromLatin1(out);
}

bool matches(const QVariant &stored, const QString &typed)
{
    if (stored.isNull())
        return false;
    const QString value = stored.toString().trimmed();
    const QByteArray plain = typed.trimmed().toUtf8();
    if (value.isEmpty())
        return plain.isEmpty();
    if (!isHash(value) || plain.isEmpty())
        return false;
    ensureSodium();
    const QByteArray hash = value.toLatin1();
    return crypto_pwhash_str_verify(hash.constData(), plain.constData(), static_cast<unsigned long long>(plain.size())) == 0;
}

} // namespace tavomi::passwords
