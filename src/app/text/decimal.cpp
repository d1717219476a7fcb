#include "app/text/decimal.h"

#include <QDate>

#include <limits>

namespace {

__extension__ typedef __int128 i128;   // exact intermediates for products of two amounts

qint64 checked(i128 v)
{
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
        throw DecimalOverflow();
    return qint64(v);
}

// n / d rounded to the nearest integer, an exact half going to the even neighbour.
i128 divHalfEven(i128 n, i128 d)
{
    if (d < 0) { n = -n; d = -d; }
    i128 q = n / d;
    i128 r = n % d;
    if (r < 0) { r = -r; }
    i128 twice = 2 * r;
    if (twice > d || (twice == d && (q % 2 != 0))) q += (n < 0) ? -1 : 1;
    return q;
}

QString format(qint64 raw, int decimals, bool trimZeros)
{
    // The magnitude of INT64_MIN does not fit in 64 bits; i128 keeps it exact.
    i128 mag = raw;
    if (mag < 0) mag = -mag;
    const qint64 whole = qint64(mag / Decimal::Scale);
    const qint64 frac = qint64(mag % Decimal::Scale);
    QString fracText = QString::number(frac).rightJustified(4, u'0').left(decimals);
    if (trimZeros) {
        while (fracText.endsWith(u'0')) fracText.chop(1);
    }
    QString s = QString::number(whole);
    if (!fracText.isEmpty()) s += u'.' + fracText;
    const bool shownAsZero = whole == 0 && fracText.count(u'0') == fracText.size();
    if (raw < 0 && !shownAsZero) s.prepend(u'-');
    return s;
}

} // namespace

std::optional<Decimal> Decimal::parse(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    bool negative = false;
    if (text.front() == u'-' || text.front() == u'+') {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    i128 whole = 0;
    i128 frac = 0;   // digits after the point, as an integer
    int fracDigits = 0;
    bool seenPoint = false;
    bool seenDigit = false;
    for (QChar c : text) {
        if (c == u'.') {
            if (seenPoint) return std::nullopt;
            seenPoint = true;
            continue;
        }
        if (c < u'0' || c > u'9') return std::nullopt;
        seenDigit = true;
        const int d = c.unicode() - u'0';
        if (!seenPoint) {
            whole = whole * 10 + d;
            if (whole > i128(std::numeric_limits<qint64>::max())) return std::nullopt;
        } else if (fracDigits < 30) {
            frac = frac * 10 + d;
            ++fracDigits;
        }
    }
    if (!seenDigit) return std::nullopt;
    i128 pow = 1;
    for (int i = 0; i < fracDigits; ++i) pow *= 10;
    i128 raw = whole * Scale + divHalfEven(frac * Scale, pow);
    if (negative) raw = -raw;
    if (raw > std::numeric_limits<qint64>::max() || raw < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return fromRaw(qint64(raw));
}

Decimal Decimal::round2() const
{
    return fromRaw(checked(divHalfEven(raw_, 100) * 100));
}

QString Decimal::toFixed2() const { return format(round2().raw_, 2, false); }
QString Decimal::toPlain() const { return format(raw_, 4, true); }
QString Decimal::toFixed4() const { return format(raw_, 4, false); }

Decimal Decimal::abs() const { return raw_ < 0 ? -*this : *this; }

Decimal Decimal::operator-() const { return fromRaw(checked(-i128(raw_))); }
Decimal Decimal::operator+(Decimal o) const { return fromRaw(checked(i128(raw_) + o.raw_)); }
Decimal Decimal::operator-(Decimal o) const { return fromRaw(checked(i128(raw_) - o.raw_)); }

Decimal Decimal::operator*(Decimal o) const
{
    return fromRaw(checked(divHalfEven(i128(raw_) * o.raw_, Scale)));
}

Decimal Decimal::operator/(Decimal o) const
{
    if (o.raw_ == 0) throw std::domain_error("除数为零");
    return fromRaw(checked(divHalfEven(i128(raw_) * Scale, o.raw_)));
}

QString dateText(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
