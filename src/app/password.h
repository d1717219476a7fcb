// Operator passwords are kept as Argon2id hash strings, never as the typed text.
#pragma once

#include <QString>

QString hashPassword(const QString &typed);

// Exact, case-sensitive check of the typed text against what yhsz.yhmm holds. A stored value that
// is not a hash (a book taken over from elsewhere) is compared as plain text; *needsRehash then
// tells the caller to replace it by its hash after a successful login.
bool verifyPassword(const QString &stored, const QString &typed, bool *needsRehash = nullptr);
