#include "app/data/ledger_query.h"

const LedgerKind &LedgerKind::purchases()
{
    static const LedgerKind s{QStringLiteral("cgfx"), QStringLiteral("ghs"), false};
    return s;
}

const LedgerKind &LedgerKind::sales()
{
    static const LedgerKind s{QStringLiteral("xsfx"), QStringLiteral("kh"), true};
    return s;
}

const LedgerKind &LedgerKind::stockChanges()
{
    static const LedgerKind s{QStringLiteral("rkfx"), QStringLiteral("lx"), false};
    return s;
}

SqlFilter LedgerQuery::conditions(const LedgerFilter &f) const
{
    SqlFilter filter(db_);
    filter.containsIfTyped(ledger_.party, f.party)
        .containsIfTyped(QStringLiteral("jsr"), f.jsr)
        .containsIfTyped(QStringLiteral("txm"), f.txm)
        .containsIfTyped(QStringLiteral("ppgg"), f.ppgg)
        .containsIfTyped(QStringLiteral("ck"), f.ck);
    // The direction tests single lines, before anything is summed.
    if (f.direction == LedgerFilter::In) filter.add(QStringLiteral("sl > 0"));
    if (f.direction == LedgerFilter::Out) filter.add(QStringLiteral("sl < 0"));
    if (f.dated) filter.add(QStringLiteral("rq >= ? AND rq <= ?"), {f.from, f.to});
    return filter;
}

SqlFilter LedgerQuery::onDay(const QString &day) const
{
    SqlFilter filter(db_);
    filter.equals(QStringLiteral("rq"), day);
    return filter;
}

SqlFilter LedgerQuery::goodsItem(const QString &txm, const QString &ppgg, const QString &dw, LedgerGrouping grouping,
                                 const QString &group) const
{
    SqlFilter filter(db_);
    filter.equals(QStringLiteral("ppgg"), ppgg).equals(QStringLiteral("txm"), txm).equals(QStringLiteral("dw"), dw);
    if (grouping != LedgerGrouping::None) filter.equals(groupColumn(grouping), group);
    return filter;
}

QString LedgerQuery::groupColumn(LedgerGrouping g) const
{
    switch (g) {
    case LedgerGrouping::None: return {};
    case LedgerGrouping::Party: return ledger_.party;
    case LedgerGrouping::Handler: return QStringLiteral("jsr");
    }
    return {};
}

QSqlQuery LedgerQuery::rows(const SqlFilter &f)
{
    return db_.exec(QStringLiteral("SELECT * FROM %1%2 ORDER BY id").arg(ledger_.table, f.where()), f.values());
}

QString LedgerQuery::totalsSql(const SqlFilter &f) const
{
    const QString cost = ledger_.withCost ? QStringLiteral(", SUM(cbje), SUM(maoli)") : QString();
    return QStringLiteral("SELECT SUM(sl), SUM(je)%1 FROM %2%3").arg(cost, ledger_.table, f.where());
}

LedgerTotals LedgerQuery::totals(const SqlFilter &f)
{
    QSqlQuery q = db_.exec(totalsSql(f), f.values());
    LedgerTotals t;
    if (q.next()) {
        t.sl = Decimal::fromRaw(q.value(0).toLongLong());
        t.je = Decimal::fromRaw(q.value(1).toLongLong());
        if (ledger_.withCost) {
            t.cbje = Decimal::fromRaw(q.value(2).toLongLong());
            t.maoli = Decimal::fromRaw(q.value(3).toLongLong());
        }
    }
    return t;
}

QString LedgerQuery::statisticsSql(const LedgerFilter &f, LedgerGrouping grouping, QVariantList *values) const
{
    const QString group = groupColumn(grouping);
    const QString lead = group.isEmpty() ? QString() : group + QStringLiteral(" AS fenzu, ");
    const QString by = group.isEmpty() ? QString() : group + QStringLiteral(", ");
    const QString cost = ledger_.withCost ? QStringLiteral(", SUM(cbje) AS zcb, SUM(maoli) AS zmaoli") : QString();
    const SqlFilter filter = conditions(f);
    if (values) *values = filter.values();
    return QStringLiteral("SELECT %1txm, ppgg, dw, SUM(sl) AS zsl, SUM(je) AS zje%2 FROM %3%4 "
                          "GROUP BY %5txm, ppgg, dw ORDER BY %5txm, ppgg, dw")
        .arg(lead, cost, ledger_.table, filter.where(), by);
}

QSqlQuery LedgerQuery::statistics(const LedgerFilter &f, LedgerGrouping grouping)
{
    QVariantList values;
    const QString sql = statisticsSql(f, grouping, &values);
    return db_.exec(sql, values);
}
