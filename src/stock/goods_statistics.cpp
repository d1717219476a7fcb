#include "stock/goods_statistics.h"

#include "app/data/sql_filter.h"

namespace GoodsStatistics {

QString sql(const Database &db, const GoodsStatisticsFilter &f, QVariantList *values)
{
    SqlFilter filter(db);
    if (!f.text.trimmed().isEmpty()) {
        const QString p = Database::containsPattern(f.text);
        filter.add(QStringLiteral("(%1 OR %2)").arg(db.containsCondition(QStringLiteral("ppgg")),
                                                  db.containsCondition(QStringLiteral("txm"))),
                   {p, p});
    }
    if (f.dated) filter.add(QStringLiteral("rq >= ? AND rq <= ?"), {f.from, f.to});
    const QString where = filter.where();
    values->clear();
    for (int i = 0; i < 3; ++i) *values << filter.values();

    // Each ledger is summed per goods item first (its index delivers the rows in that order),
    // then the three sums are put side by side. The two rows of a transfer carry the same
    // positive quantity; the outgoing one counts negative, so a transfer leaves the balance
    // unchanged.
    const QString out = QStringLiteral("CASE WHEN lx = '库存调出' THEN -%1 ELSE %1 END");
    return QStringLiteral(
               "SELECT txm, ppgg, dw, SUM(cgsl) AS cgsl, SUM(cgje) AS cgje, SUM(xssl) AS xssl, SUM(xsje) AS xsje, "
               "SUM(rksl) AS rksl, SUM(rkje) AS rkje, SUM(cgsl) - SUM(xssl) + SUM(rksl) AS ysl, "
               "SUM(cgje) - SUM(xsje) + SUM(rkje) AS yje FROM ("
               "SELECT txm, ppgg, dw, SUM(sl) AS cgsl, SUM(je) AS cgje, 0 AS xssl, 0 AS xsje, 0 AS rksl, 0 AS rkje "
               "FROM cgfx%1 GROUP BY txm, ppgg, dw "
               "UNION ALL SELECT txm, ppgg, dw, 0, 0, SUM(sl), SUM(je), 0, 0 FROM xsfx%1 GROUP BY txm, ppgg, dw "
               "UNION ALL SELECT txm, ppgg, dw, 0, 0, 0, 0, SUM(%2), SUM(%3) FROM rkfx%1 GROUP BY txm, ppgg, dw"
               ") t GROUP BY txm, ppgg, dw ORDER BY txm, ppgg, dw")
        .arg(where, out.arg(QStringLiteral("sl")), out.arg(QStringLiteral("je")));
}

QSqlQuery run(Database &db, const GoodsStatisticsFilter &f)
{
    QVariantList values;
    const QString text = sql(db, f, &values);
    return db.exec(text, values);
}

} // namespace GoodsStatistics
