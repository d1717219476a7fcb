#include "app/text/amount_to_capitals.h"

namespace {

// Digits at 0-9, then the units: index 11 "分", 12 "角", 13 "圆", 14.. the integer positions
// from tens upwards. Position i of the integer part (1 = units) takes the unit at i + 12.
const QString table = QStringLiteral("零壹贰叁肆伍陆柒捌玖◇分角圆拾佰仟万拾佰仟亿拾佰仟万");

QChar digitChar(int d) { return table.at(d); }

QString integerUnit(int position)
{
    const int idx = position + 12;
    return idx < table.size() ? QString(table.at(idx)) : QString();
}

// Units, ten-thousands and hundred-millions keep their unit even when their digit is zero.
bool isGroupPosition(int position) { return position == 1 || position == 5 || position == 9; }

} // namespace

QString AmountToCapitals(Decimal amount)
{
    amount = amount.abs().round2();
    if (amount.isZero()) return QStringLiteral("零");

    const QString fixed = amount.toFixed2();   // "12345.67"
    const qsizetype point = fixed.indexOf(u'.');
    const QStringView whole = QStringView(fixed).left(point);
    const int tenths = fixed.at(point + 1).unicode() - u'0';
    const int hundredths = fixed.at(point + 2).unicode() - u'0';
    const bool belowOne = amount < Decimal(1);

    QString integer;
    bool belowWasZero = belowOne;
    for (qsizetype i = 1; i <= whole.size(); ++i) {
        const int d = whole.at(whole.size() - i).unicode() - u'0';
        const int pos = int(i);
        QString piece;
        if (d != 0) {
            piece = digitChar(d) + integerUnit(pos);
        } else if (!belowWasZero && !isGroupPosition(pos)) {
            piece = digitChar(0);   // a zero between non-zero digits is read out once
        } else if (pos == 5 || pos == 9) {
            piece = integerUnit(pos);
        } else if (pos == 1 && !belowWasZero) {
            piece = integerUnit(pos);
        }
        integer.prepend(piece);
        belowWasZero = d == 0;
    }
    // "亿" directly followed by an empty ten-thousands group: the "万" is not read.
    integer.replace(QStringLiteral("亿万"), QStringLiteral("亿"));

    QString fraction;
    if (hundredths != 0) fraction = digitChar(hundredths) + QStringLiteral("分");
    else fraction = QStringLiteral("整");
    if (tenths != 0) fraction.prepend(digitChar(tenths) + QStringLiteral("角"));
    else if (hundredths != 0 && !belowOne) fraction.prepend(digitChar(0));

    return integer + fraction;
}
