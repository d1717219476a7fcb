#include "stock/goods_statistics.h"

#include "app/data/sql_filter.h"

#include <QSqlQuery>

#include <array>

namespace GoodsStatistics {

namespace {

SqlFilter conditions(const Database &db, const GoodsStatisticsFilter &f)
{
    SqlFilter filter(db);
    if (!f.text.trimmed().isEmpty()) {
        const QString p = Database::containsPattern(f.text);
        filter.add(QStringLiteral("(%1 OR %2)").arg(db.containsCondition(QStringLiteral("ppgg")),
                                                  db.containsCondition(QStringLiteral("txm"))),
                   {p, p});
    }
    if (f.dated) filter.add(QStringLiteral("rq >= ? AND rq <= ?"), {f.from, f.to});
    return filter;
}

// The two rows of a transfer carry the same positive quantity; the outgoing one counts
// negative, so a transfer leaves the balance unchanged.
QString stockChange(const char *column)
{
    return QStringLiteral("CASE WHEN lx = '库存调出' THEN -%1 ELSE %1 END").arg(QLatin1String(column));
}

// The order both engines give the goods columns here: by code point, which is the byte order
// of UTF-8 (SQLite's own, PostgreSQL's "C" collation), empty values first.
int compareText(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull()) return int(!a.isNull()) - int(!b.isNull());
    const QString x = a.toString(), y = b.toString();
    const qsizetype n = std::min(x.size(), y.size());
    // UTF-16 puts characters beyond U+FFFF (surrogates) before U+E000–U+FFFF; code points do not.
    auto rank = [](char16_t c) { return c >= 0xE000 ? c - 0x800 : c >= 0xD800 ? c + 0x2000 : int(c); };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t p = x[i].unicode(), q = y[i].unicode();
        if (p != q) return rank(p) < rank(q) ? -1 : 1;
    }
    return x.size() < y.size() ? -1 : int(x.size() > y.size());
}

// The three ledgers' sums per goods item, side by side.
class MergedRows final : public RowSource {
public:
    explicit MergedRows(std::array<QSqlQuery, 3> ledgers)
    {
        for (size_t i = 0; i < 3; ++i) {
            ledgers_[i].query = std::move(ledgers[i]);
            ledgers_[i].step();
        }
    }

    int indexOf(const QString &field) const override
    {
        static const QStringList fields = {"txm",  "ppgg", "dw",   "cgsl", "cgje", "xssl",
                                           "xsje", "rksl", "rkje", "ysl",  "yje"};
        return int(fields.indexOf(field));
    }

    bool next() override
    {
        const Ledger *first = nullptr;
        for (const Ledger &l : ledgers_)
            if (l.live && (!first || compareKey(l.key, first->key) < 0)) first = &l;
        if (!first) return false;
        key_ = first->key;
        sums_.fill(0);
        for (size_t i = 0; i < 3; ++i) {
            Ledger &l = ledgers_[i];
            if (!l.live || compareKey(l.key, key_) != 0) continue;
            sums_[2 * i] = l.sl;
            sums_[2 * i + 1] = l.je;
            l.step();
        }
        return true;
    }

    QVariant value(int index) const override
    {
        if (index < 3) return key_[size_t(index)];
        if (index < 9) return sums_[size_t(index - 3)];
        const size_t of = index == 9 ? 0 : 1;   // quantity or amount
        return sums_[of] - sums_[2 + of] + sums_[4 + of];
    }

private:
    using Key = std::array<QVariant, 3>;
    struct Ledger {
        QSqlQuery query;
        bool live = false;
        Key key;
        qint64 sl = 0, je = 0;
        void step()
        {
            live = query.next();
            if (!live) return;
            for (int c = 0; c < 3; ++c) key[size_t(c)] = query.value(c);
            sl = query.value(3).toLongLong();
            je = query.value(4).toLongLong();
        }
    };
    static int compareKey(const Key &a, const Key &b)
    {
        for (size_t c = 0; c < 3; ++c)
            if (const int d = compareText(a[c], b[c])) return d;
        return 0;
    }

    std::array<Ledger, 3> ledgers_;
    Key key_;
    std::array<qint64, 6> sums_{};
};

} // namespace

QStringList ledgerSqls(const Database &db, const GoodsStatisticsFilter &f, QVariantList *values)
{
    const SqlFilter filter = conditions(db, f);
    *values = filter.values();
    // Each ledger's index on code, name and unit delivers its lines already in this order.
    const QString order = db.engine() == Database::Engine::PostgreSQL
                              ? QStringLiteral("txm COLLATE \"C\" NULLS FIRST, ppgg COLLATE \"C\" NULLS FIRST, "
                                               "dw COLLATE \"C\" NULLS FIRST")
                              : QStringLiteral("txm, ppgg, dw");
    const QString sum = QStringLiteral("SELECT txm, ppgg, dw, SUM(%1), SUM(%2) FROM %3%4 GROUP BY txm, ppgg, dw ORDER BY %5");
    return {sum.arg(QStringLiteral("sl"), QStringLiteral("je"), QStringLiteral("cgfx"), filter.where(), order),
            sum.arg(QStringLiteral("sl"), QStringLiteral("je"), QStringLiteral("xsfx"), filter.where(), order),
            sum.arg(stockChange("sl"), stockChange("je"), QStringLiteral("rkfx"), filter.where(), order)};
}

QString totalsSql(const Database &db, const GoodsStatisticsFilter &f, QVariantList *values)
{
    const SqlFilter filter = conditions(db, f);
    values->clear();
    for (int i = 0; i < 3; ++i) *values << filter.values();
    return QStringLiteral("SELECT SUM(sl), SUM(je) FROM cgfx%1 UNION ALL SELECT -SUM(sl), -SUM(je) FROM xsfx%1 "
                          "UNION ALL SELECT SUM(%2), SUM(%3) FROM rkfx%1")
        .arg(filter.where(), stockChange("sl"), stockChange("je"));
}

std::unique_ptr<RowSource> rows(Database &db, const GoodsStatisticsFilter &f)
{
    QVariantList values;
    const QStringList sqls = ledgerSqls(db, f, &values);
    return std::make_unique<MergedRows>(std::array<QSqlQuery, 3>{db.exec(sqls[0], values), db.exec(sqls[1], values),
                                                                 db.exec(sqls[2], values)});
}

GoodsStatisticsTotals totals(Database &db, const GoodsStatisticsFilter &f)
{
    QVariantList values;
    QSqlQuery q = db.exec(totalsSql(db, f, &values), values);
    GoodsStatisticsTotals t;
    while (q.next()) {
        t.ysl += Decimal::fromRaw(q.value(0).toLongLong());
        t.yje += Decimal::fromRaw(q.value(1).toLongLong());
    }
    return t;
}

} // namespace GoodsStatistics
