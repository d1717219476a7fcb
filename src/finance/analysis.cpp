#include "finance/analysis.h"

#include "app/data/schema.h"
#include "app/data/sql_filter.h"

#include <QSqlQuery>

namespace Analysis {

bool seesCost(const QString &operatorName) { return operatorName == schema::builtInOperator(); }

QString commissionSql(const Database &db, const CommissionFilter &f, QVariantList *values)
{
    SqlFilter filter(db);
    filter.containsIfTyped(QStringLiteral("jsr"), f.jsr);
    if (f.dated) filter.add(QStringLiteral("rq >= ? AND rq <= ?"), {f.from, f.to});
    *values = filter.values();
    // The rates of each goods row of a warehouse (the oldest row where a warehouse holds the
    // goods twice) are put in a small table first; each sale line then finds them by one
    // look-up, or, when its warehouse no longer holds the goods, takes the oldest row of the
    // goods anywhere. Read in handler order, the lines are summed without sorting them. The
    // code leads the look-up: it tells goods rows apart sooner than the warehouse does.
    // A line whose goods are gone everywhere has no rate and adds nothing; a handler with only
    // such lines sums to nothing and is left out. The products carry eight decimals; each
    // handler's sum is rounded once, to four.
    const QString fallback = QStringLiteral(
        "(SELECT %1 FROM sp WHERE id = (SELECT MIN(id) FROM sp f WHERE f.txm = s.txm AND f.ppgg = s.ppgg AND f.dw = s.dw))");
    return QStringLiteral("WITH k AS MATERIALIZED (SELECT ck, txm, ppgg, dw, slt, jet FROM sp "
                          "WHERE id IN (SELECT MIN(id) FROM sp GROUP BY ck, txm, ppgg, dw)) "
                          "SELECT s.jsr, SUM(s.sl * COALESCE(k.slt, %1)), SUM(s.je * COALESCE(k.jet, %2)) "
                          "FROM xsfx s LEFT JOIN k ON k.txm = s.txm AND k.ck = s.ck AND k.ppgg = s.ppgg AND k.dw = s.dw"
                          "%3 GROUP BY s.jsr ORDER BY s.jsr")
        .arg(fallback.arg(QStringLiteral("slt")), fallback.arg(QStringLiteral("jet")), filter.where());
}

QList<CommissionRow> commissions(Database &db, const CommissionFilter &f)
{
    QVariantList values;
    const QString sql = commissionSql(db, f, &values);
    QSqlQuery q = db.exec(sql, values);
    const Decimal eightToFour(Decimal::Scale);
    QList<CommissionRow> out;
    while (q.next()) {
        if (q.value(1).isNull()) continue;   // no line of this handler has goods left to rate it
        const Decimal bySl = Decimal::fromRaw(q.value(1).toLongLong()) / eightToFour;
        const Decimal byJe = Decimal::fromRaw(q.value(2).toLongLong()) / eightToFour;
        out.append({q.value(0).toString(), bySl, byJe, bySl + byJe});
    }
    return out;
}

} // namespace Analysis
