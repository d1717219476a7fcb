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
    // The sales are summed per handler and goods row of a warehouse, each sum takes the rates
    // of its goods row (or of the oldest row of the goods when its warehouse no longer holds
    // them), and the products are summed per handler: one row per handler leaves the database.
    // The products carry eight decimals; each handler's sum is rounded once, to four.
    return QStringLiteral("SELECT s.jsr, SUM(s.sl * r.slt), SUM(s.je * r.jet) FROM ("
                          "SELECT jsr, ck, txm, ppgg, dw, SUM(sl) AS sl, SUM(je) AS je FROM xsfx%1 "
                          "GROUP BY jsr, txm, ppgg, dw, ck) s "
                          "JOIN sp r ON r.id = COALESCE("
                          "(SELECT MIN(id) FROM sp WHERE ck = s.ck AND ppgg = s.ppgg AND txm = s.txm AND dw = s.dw), "
                          "(SELECT MIN(id) FROM sp WHERE txm = s.txm AND ppgg = s.ppgg AND dw = s.dw)) "
                          "GROUP BY s.jsr ORDER BY s.jsr")
        .arg(filter.where());
}

QList<CommissionRow> commissions(Database &db, const CommissionFilter &f)
{
    QVariantList values;
    const QString sql = commissionSql(db, f, &values);
    QSqlQuery q = db.exec(sql, values);
    const Decimal eightToFour(Decimal::Scale);
    QList<CommissionRow> out;
    while (q.next()) {
        const Decimal bySl = Decimal::fromRaw(q.value(1).toLongLong()) / eightToFour;
        const Decimal byJe = Decimal::fromRaw(q.value(2).toLongLong()) / eightToFour;
        out.append({q.value(0).toString(), bySl, byJe, bySl + byJe});
    }
    return out;
}

} // namespace Analysis
