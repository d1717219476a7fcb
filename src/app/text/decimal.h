// Exact money and quantity values: a signed count of ten-thousandths.
#pragma once

#include <QString>
#include <QStringView>

#include <QtGlobal>
#include <optional>
#include <stdexcept>

// Raised when a result would leave the 64-bit range; money must never wrap.
class DecimalOverflow : public std::overflow_error {
public:
    DecimalOverflow() : std::overflow_error("金额超出范围") {}
};

class Decimal {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Decimal() = default;
    constexpr Decimal(int whole) : raw_(qint64(whole) * Scale) {}

    static constexpr Decimal fromRaw(qint64 raw) { Decimal d; d.raw_ = raw; return d; }
    constexpr qint64 raw() const { return raw_; }

    // Reads typed text such as "12.345", "-3", ".5" or " 7. "; more than four decimals are
    // rounded half to even. Empty text, stray characters or a value out of range give nullopt.
    static std::optional<Decimal> parse(QStringView text);
    // The same, with 0 for text that is not a number (a field that falls back to "0").
    static Decimal parseOr0(QStringView text) { return parse(text).value_or(Decimal()); }

    Decimal round2() const;          // half to even, to two decimals
    QString toFixed2() const;        // "12.50": grids and stored line values
    QString toPlain() const;         // "12.5", "100", "0": totals
    QString toFixed4() const;        // all four decimals

    bool isZero() const { return raw_ == 0; }
    bool isNegative() const { return raw_ < 0; }
    Decimal abs() const;

    Decimal operator-() const;
    Decimal operator+(Decimal o) const;
    Decimal operator-(Decimal o) const;
    Decimal operator*(Decimal o) const;   // rounded to four decimals, half to even
    Decimal operator/(Decimal o) const;   // rounded to four decimals, half to even; throws on 0
    Decimal &operator+=(Decimal o) { return *this = *this + o; }
    Decimal &operator-=(Decimal o) { return *this = *this - o; }

    friend constexpr auto operator<=>(Decimal a, Decimal b) = default;

private:
    qint64 raw_ = 0;
};

// Dates are kept as text "yyyy-mm-dd" and compared as text.
class QDate;
QString dateText(const QDate &d);
