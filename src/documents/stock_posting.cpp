#include "documents/stock_posting.h"

#include <QSqlQuery>

namespace StockPosting {

StockState inflow(StockState row, Decimal dq, Decimal dv)
{
    const bool intoEmpty = row.kcsl <= Decimal() && dq > Decimal();
    row.kcsl += dq;
    if (intoEmpty) {
        // Whatever the row held below zero was valued at a cost that no longer means anything:
        // the goods now on hand cost what this line paid for them.
        const Decimal lineCost = (dv / dq).round2();
        if (!lineCost.isNegative()) row.kcjg = lineCost;
        row.kcje = (row.kcsl * row.kcjg).round2();
        return row;
    }
    row.kcje += dv;
    if (!row.kcsl.isZero() && !row.kcje.isZero()) {
        const Decimal average = (row.kcje / row.kcsl).round2();
        if (average.isNegative()) row.kcje = (row.kcsl * row.kcjg).round2();
        else row.kcjg = average;
    } else if (!row.kcsl.isZero()) {
        row.kcje = (row.kcjg * row.kcsl).round2();
    } else {
        row.kcje = Decimal();
    }
    return row;
}

StockState outflow(StockState row, Decimal dq)
{
    row.kcsl += dq;
    row.kcje = (row.kcjg * row.kcsl).round2();
    return row;
}

StockState fixedCost(StockState row, Decimal dq) { return outflow(row, dq); }

StockState newRow(PostingRule rule, Decimal cost, Decimal dq, Decimal dv)
{
    StockState s{dq, cost, dv};
    if (rule == PostingRule::Outflow) s.kcje = (cost * dq).round2();
    return s;
}

void apply(Database &db, PostingRule rule, const QString &ck, const QString &ppgg, const QString &txm,
           const QString &dw, Decimal cost, Decimal dq, Decimal dv)
{
    // PostgreSQL locks the row until commit; SQLite already holds the book's write lock.
    const QString lock = db.engine() == Database::Engine::PostgreSQL ? QStringLiteral(" FOR UPDATE") : QString();
    QSqlQuery &q = db.execCached(
        QStringLiteral("SELECT id, kcsl, kcjg, kcje FROM sp WHERE ck = ? AND ppgg = ? AND txm = ? AND dw = ? "
                       "ORDER BY id LIMIT 1")
            + lock,
        {ck, ppgg, txm, dw});
    if (!q.next()) {
        q.finish();
        const StockState s = newRow(rule, cost, dq, dv);
        db.insert(QStringLiteral("sp"), {{"ck", ck},
                                         {"lb", DocFlag::UnknownCategory},
                                         {"txm", txm},
                                         {"ppgg", ppgg},
                                         {"dw", dw},
                                         {"kcjg", s.kcjg.raw()},
                                         {"kcsl", s.kcsl.raw()},
                                         {"kcje", s.kcje.raw()}});
        return;
    }
    const qint64 id = q.value(0).toLongLong();
    StockState s{Decimal::fromRaw(q.value(1).toLongLong()), Decimal::fromRaw(q.value(2).toLongLong()),
                 Decimal::fromRaw(q.value(3).toLongLong())};
    q.finish();
    switch (rule) {
    case PostingRule::Inflow: s = inflow(s, dq, dv); break;
    case PostingRule::Outflow: s = outflow(s, dq); break;
    case PostingRule::FixedCost: s = fixedCost(s, dq); break;
    }
    db.execCached(QStringLiteral("UPDATE sp SET kcsl = ?, kcjg = ?, kcje = ? WHERE id = ?"),
                  {s.kcsl.raw(), s.kcjg.raw(), s.kcje.raw(), id});
}

} // namespace StockPosting
