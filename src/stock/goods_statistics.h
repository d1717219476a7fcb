// Goods statistics: per goods item (code, name and unit, over all warehouses) the purchases,
// sales and stock changes of the three detail ledgers and the balance
// 结存 = 采购 − 销售 + 异动.
#pragma once

#include "app/data/database.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

struct GoodsStatisticsFilter {
    QString text;        // contained in the goods name or code; empty: every goods item
    bool dated = false;  // both days included
    QString from, to;
};

namespace GoodsStatistics {

// Rows txm ppgg dw cgsl cgje xssl xsje rksl rkje ysl yje, ordered by code.
QSqlQuery run(Database &db, const GoodsStatisticsFilter &f);
// The statement of run(), for a bench to run as it stands.
QString sql(const Database &db, const GoodsStatisticsFilter &f, QVariantList *values);

} // namespace GoodsStatistics
