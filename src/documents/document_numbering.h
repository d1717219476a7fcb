// Document numbers: prefix + "yyyymmdd" + a three-digit sequence of the day, at most 999 a day.
#pragma once

#include "app/data/database.h"
#include "documents/document_kind.h"

#include <QDate>
#include <QString>

#include <optional>

namespace DocumentNumbering {

inline const QString DayLimitMessage = QStringLiteral("每天录入不可超过999单！");

enum class Outcome { Issued, DayLimit, NoNumber };
struct Result {
    Outcome outcome;
    QString dh;   // when Issued
};

// The next number of `today` for the kind, after the highest number of the documents first
// saved today (their `kdrq`). DayLimit after sequence 999; NoNumber when the last number
// carries sequence 0 (the window then keeps the number it shows).
Result next(Database &db, const DocumentKind &kind, const QDate &today);
// The number after one just saved, without asking the book; the date part is today's.
Result following(const DocumentKind &kind, const QString &saved, const QDate &today);

// The sequence of a stored number (its characters 11 to 13), 0 when they are not digits.
int sequenceOf(const QString &dh);

} // namespace DocumentNumbering
