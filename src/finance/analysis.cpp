#include "finance/analysis.h"

#include "app/data/schema.h"
#include "app/data/sql_filter.h"

#include <QHash>
#include <QSqlQuery>

namespace Analysis {

bool seesCost(const QString &operatorName) { return operatorName == schema::builtInOperator(); }

namespace {

struct Rates {
    Decimal slt, jet;
};

QString goodsKey(const QString &txm, const QString &ppgg, const QString &dw)
{
    return txm + QChar(0x1f) + ppgg + QChar(0x1f) + dw;
}

} // namespace

QList<CommissionRow> commissions(Database &db, const CommissionFilter &f)
{
    SqlFilter filter(db);
    filter.containsIfTyped(QStringLiteral("jsr"), f.jsr);
    if (f.dated) filter.add(QStringLiteral("rq >= ? AND rq <= ?"), {f.from, f.to});
    // Summed per handler and goods row first, so each rate is looked up once per group.
    QSqlQuery sales = db.exec(QStringLiteral("SELECT jsr, txm, ppgg, dw, ck, SUM(sl), SUM(je) FROM xsfx%1 "
                                             "GROUP BY jsr, txm, ppgg, dw, ck ORDER BY jsr")
                                  .arg(filter.where()),
                              filter.values());

    // Rates by warehouse and goods, and the oldest row of each goods item for sales whose
    // warehouse no longer holds it.
    QHash<QString, Rates> own, oldest;
    QSqlQuery goods = db.exec(QStringLiteral("SELECT ck, txm, ppgg, dw, slt, jet FROM sp ORDER BY id"));
    while (goods.next()) {
        const QString key = goodsKey(goods.value(1).toString(), goods.value(2).toString(), goods.value(3).toString());
        const Rates r{Decimal::fromRaw(goods.value(4).toLongLong()), Decimal::fromRaw(goods.value(5).toLongLong())};
        const QString inWarehouse = goods.value(0).toString() + QChar(0x1e) + key;
        if (!own.contains(inWarehouse)) own.insert(inWarehouse, r);
        if (!oldest.contains(key)) oldest.insert(key, r);
    }

    QList<CommissionRow> out;
    while (sales.next()) {
        const QString jsr = sales.value(0).toString();
        const QString key = goodsKey(sales.value(1).toString(), sales.value(2).toString(), sales.value(3).toString());
        auto it = own.constFind(sales.value(4).toString() + QChar(0x1e) + key);
        const Rates *r = it != own.constEnd() ? &*it : nullptr;
        if (!r) {
            auto o = oldest.constFind(key);
            if (o == oldest.constEnd()) continue;
            r = &*o;
        }
        if (out.isEmpty() || out.last().yuangong != jsr) out.append({jsr, {}, {}, {}});
        CommissionRow &row = out.last();
        const Decimal bySl = Decimal::fromRaw(sales.value(5).toLongLong()) * r->slt;
        const Decimal byJe = Decimal::fromRaw(sales.value(6).toLongLong()) * r->jet;
        row.sltc += bySl;
        row.jetc += byJe;
        row.ztc += bySl + byJe;
    }
    return out;
}

} // namespace Analysis
