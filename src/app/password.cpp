#include "app/password.h"

#include <sodium.h>

#include <stdexcept>

namespace {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw std::runtime_error("libsodium init failed");
}

bool isHash(const QString &stored) { return stored.startsWith(QLatin1String(crypto_pwhash_STRPREFIX)); }

} // namespace

QString hashPassword(const QString &typed)
{
    ensureSodium();
    const QByteArray pw = typed.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, pw.constData(), quint64(pw.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

bool verifyPassword(const QString &stored, const QString &typed, bool *needsRehash)
{
    ensureSodium();
    if (needsRehash) *needsRehash = false;
    if (!isHash(stored)) {
        const bool ok = stored == typed;
        if (needsRehash) *needsRehash = ok;
        return ok;
    }
    const QByteArray h = stored.toLatin1();
    const QByteArray pw = typed.toUtf8();
    return crypto_pwhash_str_verify(h.constData(), pw.constData(), quint64(pw.size())) == 0;
}
