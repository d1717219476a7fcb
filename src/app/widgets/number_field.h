// Number fields: the key filters for amounts, quantities and codes made of digits, and the
// reformatting of over-long decimals when a form is saved.
#pragma once

#include "app/text/decimal.h"

#include <QString>

#include <optional>

class QLineEdit;

class NumberField {
public:
    enum Kind {
        Unsigned,   // digits, backspace, one "."
        Digits,     // digits and backspace: postcodes, identity numbers
        Signed,     // digits, backspace, one "-", one "."
    };
    enum Empty {
        ZeroWhenEmpty,   // a text that becomes empty (after trimming) is set to "0" at once
        MayBeEmpty,      // the window decides what an empty field means
    };

    // Attaches the filter for `kind` to `edit`. Typed characters are tested against the whole
    // text; every other printable key is discarded. Enter is left to the window's Enter flow.
    // Pasted, dropped or otherwise inserted text passes the same test, key by key, and is
    // kept whole or not at all. A text the window sets stands as it is.
    static void attach(QLineEdit *edit, Kind kind, Empty empty = ZeroWhenEmpty);

    // At save: a text with more than two characters after its "." becomes its value rounded
    // half to even and written "0.00"; any other text is returned as it stands.
    static QString normalizedText(const QString &text);
    static void normalize(QLineEdit *edit);

    // The field's value; nullopt for a text that is not a number ("-", "12-", ".").
    static std::optional<Decimal> value(const QLineEdit *edit);
};
