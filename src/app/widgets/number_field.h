// Number fields: the key filters for amounts, quantities and codes made of digits, and the
// reformatting of a lone "-" and of over-long decimals when the operator leaves the field.
#pragma once

#include "app/text/decimal.h"

#include <QString>

#include <optional>

class QLineEdit;
class QWidget;

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
    // Leaving the field (Tab, Enter, a click elsewhere) reformats what was typed as `finish`
    // does, before the next field takes a key; the window's own reactions to the new text run
    // then, not later at saving.
    static void attach(QLineEdit *edit, Kind kind, Empty empty = ZeroWhenEmpty);

    // A text with more than two characters after its "." becomes its value rounded half to
    // even and written "0.00"; any other text is returned as it stands.
    static QString normalizedText(const QString &text);
    static void normalize(QLineEdit *edit);
    // What leaving the field does: a lone "-" becomes "0", then `normalize`.
    static void finish(QLineEdit *edit);
    // A command started by a key or a button that takes no focus (F8, "结单", "打印") while
    // the operator is still in a number field of `window`: that field is finished first, as
    // though it had been left. Fields already left were finished then.
    static void finishFocused(const QWidget *window);

    // The field's value; nullopt for a text that is not a number ("-", "12-", ".").
    static std::optional<Decimal> value(const QLineEdit *edit);
};
