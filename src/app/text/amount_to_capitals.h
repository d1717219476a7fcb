// Amounts written out in financial capital numerals ("大写"), as documents print them.
#pragma once

#include "app/text/decimal.h"

#include <QString>

// The capitals of a non-negative amount at two decimals ("壹佰零伍圆整", "伍角伍分", "零").
// Callers state the sign themselves ("负" + capitals of the absolute value); a negative amount
// is written as its absolute value rather than as garbled text.
QString AmountToCapitals(Decimal amount);
