#include "finance/analysis.h"

#include "app/data/schema.h"
#include "app/data/sql_filter.h"

#include <QHash>
#include <QSqlQuery>

namespace Analysis {

bool seesCost(const QString &operatorName) { return operatorName == schema::builtInOperator(); }

QStringList commissionSqls(const Database &db, const CommissionFilter &f, QVariantList *values)
{
    SqlFilter filter(db);
    filter.containsIfTyped(QStringLiteral("s.jsr"), f.jsr);
    if (f.dated) filter.add(QStringLiteral("s.rq >= ? AND s.rq <= ?"), {f.from, f.to});
    *values = filter.values();
    // Read in handler order, the sale lines are summed without sorting them; each finds the
    // rates of its warehouse's goods row by one look-up in the goods index that leads with the
    // code and carries the rates. When the warehouse no longer holds the goods, the oldest row
    // of the goods anywhere gives them; when the goods are gone everywhere there is no rate and
    // the line adds nothing (a handler with only such lines sums to nothing).
    const QString fallback = QStringLiteral(
        "(SELECT %1 FROM sp WHERE id = (SELECT MIN(id) FROM sp f WHERE f.txm = s.txm AND f.ppgg = s.ppgg AND f.dw = s.dw))");
    const QString all = QStringLiteral(
        "SELECT s.jsr, SUM(s.sl * COALESCE(k.slt, %1)), SUM(s.je * COALESCE(k.jet, %2)) FROM xsfx s "
        "LEFT JOIN sp k ON k.txm = s.txm AND k.ppgg = s.ppgg AND k.dw = s.dw AND k.ck = s.ck%3 GROUP BY s.jsr ORDER BY s.jsr")
        .arg(fallback.arg(QStringLiteral("slt")), fallback.arg(QStringLiteral("jet")), filter.where());
    // A warehouse holding the goods twice gave its lines once per row above; only the oldest
    // row's rates count, so what the younger rows gave is taken away again. The goods rows lead
    // (SQLite keeps the order of a CROSS JOIN): a book has few such rows and many sale lines.
    const QString younger = QStringLiteral(
        "SELECT s.jsr, SUM(s.sl * d.slt), SUM(s.je * d.jet) FROM sp d CROSS JOIN xsfx s "
        "WHERE d.id NOT IN (SELECT MIN(id) FROM sp GROUP BY txm, ppgg, dw, ck) "
        "AND s.ck = d.ck AND s.txm = d.txm AND s.ppgg = d.ppgg AND s.dw = d.dw%1 GROUP BY s.jsr")
        .arg(filter.andWhere());
    return {all, younger};
}

QList<CommissionRow> commissions(Database &db, const CommissionFilter &f)
{
    QVariantList values;
    const QStringList sqls = commissionSqls(db, f, &values);
    // The products carry eight decimals; each handler's sum is rounded once, to four.
    QHash<QString, std::pair<qint64, qint64>> younger;
    for (QSqlQuery q = db.exec(sqls[1], values); q.next();)
        younger.insert(q.value(0).toString(), {q.value(1).toLongLong(), q.value(2).toLongLong()});
    const Decimal eightToFour(Decimal::Scale);
    QList<CommissionRow> out;
    for (QSqlQuery q = db.exec(sqls[0], values); q.next();) {
        if (q.value(1).isNull()) continue;   // no line of this handler has goods left to rate it
        const auto taken = younger.value(q.value(0).toString());
        const Decimal bySl = Decimal::fromRaw(q.value(1).toLongLong() - taken.first) / eightToFour;
        const Decimal byJe = Decimal::fromRaw(q.value(2).toLongLong() - taken.second) / eightToFour;
        out.append({q.value(0).toString(), bySl, byJe, bySl + byJe});
    }
    return out;
}

} // namespace Analysis
