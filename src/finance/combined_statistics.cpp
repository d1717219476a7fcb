#include "finance/combined_statistics.h"

#include "app/data/sql_filter.h"

#include <QSqlQuery>

namespace CombinedStatistics {

const QStringList &fields()
{
    static const QStringList f = {"cgsl", "cgje", "xssl", "xsje", "rksl", "rkje", "kcsl", "kcje", "yf",
                                  "sf",   "qk1",  "ys",   "ss",   "qk2",  "fk",   "sk",   "sz"};
    return f;
}

namespace {

// Sums of `columns` over `table`, approved rows only when `approvedOnly`, within the period.
QList<Decimal> sums(Database &db, const QString &table, const QStringList &columns, bool approvedOnly,
                    const CombinedPeriod *p)
{
    SqlFilter filter(db);
    if (approvedOnly) filter.equals(QStringLiteral("shbj"), QStringLiteral("已审核"));
    // The date indexes carry the summed figures: a period is read from the index alone.
    if (p && p->dated) filter.add(QStringLiteral("rq >= ? AND rq <= ?"), {p->from, p->to});
    QStringList parts;
    for (const QString &c : columns) parts << QStringLiteral("SUM(%1)").arg(c);
    QSqlQuery q = db.exec(QStringLiteral("SELECT %1 FROM %2%3").arg(parts.join(u','), table, filter.where()),
                          filter.values());
    QList<Decimal> out;
    const bool row = q.next();
    for (int i = 0; i < columns.size(); ++i) out << Decimal::fromRaw(row ? q.value(i).toLongLong() : 0);
    return out;
}

} // namespace

QHash<QString, Decimal> compute(Database &db, const CombinedPeriod &p)
{
    QHash<QString, Decimal> f;
    auto put = [&f](const QStringList &names, const QList<Decimal> &values) {
        for (int i = 0; i < names.size(); ++i) f.insert(names[i], values[i]);
    };
    const QStringList slJe = {"sl", "je"};
    put({"cgsl", "cgje"}, sums(db, "cgfx", slJe, false, &p));
    put({"xssl", "xsje"}, sums(db, "xsfx", slJe, false, &p));
    put({"rksl", "rkje"}, sums(db, "rkfx", slJe, false, &p));
    put({"kcsl", "kcje"}, sums(db, "sp", {"kcsl", "kcje"}, false, nullptr));
    put({"yf", "sf", "qk1"}, sums(db, "cgglz", {"yfe", "sfe", "qk"}, true, &p));
    put({"ys", "ss", "qk2"}, sums(db, "xsglz", {"yse", "sse", "qk"}, true, &p));
    put({"sk"}, sums(db, "skfx", {"je"}, true, &p));
    put({"fk"}, sums(db, "fkfx", {"je"}, true, &p));
    const QList<Decimal> sz = sums(db, "szfx", {"se", "ze"}, false, &p);
    f.insert(QStringLiteral("sz"), sz[0] - sz[1]);
    return f;
}

QString periodLine(const CombinedPeriod &p)
{
    if (!p.dated) return {};
    return QStringLiteral("统计日期：%1至%2").arg(p.from, p.to);
}

} // namespace CombinedStatistics
