// The combined statistics: seventeen sums over purchases, sales, stock changes, current stock,
// approved documents' payables and receivables, payments, collections and other income and
// expense, for all time or a period.
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"

#include <QHash>
#include <QString>
#include <QStringList>

struct CombinedPeriod {
    bool dated = false;   // both days included; the current stock ignores it
    QString from, to;
};

namespace CombinedStatistics {

// The figures' names in the window's order: cgsl cgje xssl xsje rksl rkje kcsl kcje yf sf qk1
// ys ss qk2 fk sk sz.
const QStringList &fields();
QHash<QString, Decimal> compute(Database &db, const CombinedPeriod &p);
// The print's line under the title: "统计日期：" from "至" to, or nothing.
QString periodLine(const CombinedPeriod &p);

} // namespace CombinedStatistics
