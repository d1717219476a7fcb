// Goods statistics: per goods item (code, name and unit, over all warehouses) the purchases,
// sales and stock changes of the three detail ledgers and the balance
// 结存 = 采购 − 销售 + 异动.
#pragma once

#include "app/data/database.h"
#include "app/data/row_source.h"
#include "app/text/decimal.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

struct GoodsStatisticsFilter {
    QString text;        // contained in the goods name or code; empty: every goods item
    bool dated = false;  // both days included
    QString from, to;
};

struct GoodsStatisticsTotals {
    Decimal ysl, yje;   // the balance over every goods item
};

namespace GoodsStatistics {

// Rows txm ppgg dw cgsl cgje xssl xsje rksl rkje ysl yje, ordered by code, name and unit. Each
// ledger is summed per goods item in the order of its index and the three are merged as they
// are read, so the first rows come long before the last ledger line is read.
std::unique_ptr<RowSource> rows(Database &db, const GoodsStatisticsFilter &f);
// The balance summed over every row of rows(), without reading them.
GoodsStatisticsTotals totals(Database &db, const GoodsStatisticsFilter &f);

// The statements behind them, for a bench to run as they stand: one per ledger in the order
// purchases, sales, stock changes (each with `values`), and the totals (with `values` thrice).
QStringList ledgerSqls(const Database &db, const GoodsStatisticsFilter &f, QVariantList *values);
QString totalsSql(const Database &db, const GoodsStatisticsFilter &f, QVariantList *values);

} // namespace GoodsStatistics
