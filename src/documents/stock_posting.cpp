#include "documents/stock_posting.h"

#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <vector>

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

namespace {

using Key = std::tuple<QString, QString, QString, QString>;   // ck, ppgg, txm, dw

// A part left empty is empty text: bound as NULL it would never find its row, and every
// posting of the line would make one more.
QString keyPart(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

Key keyOf(const Movement &m) { return {keyPart(m.ck), keyPart(m.ppgg), keyPart(m.txm), keyPart(m.dw)}; }

struct GoodsRow {
    qint64 id = 0;
    StockState state;
    bool changed = false;
};

// Rows per statement, within what both engines bind. The row lists are padded to a power of two
// by repeating their last row, so a connection keeps a handful of prepared statements, not one
// for every document's size. A document of more goods than one statement takes locks them in
// parts, each in id order; should two such documents deadlock, the approval is run again.
constexpr size_t MaxRows = 1024;

size_t padded(size_t n)
{
    size_t p = 1;
    while (p < n) p *= 2;
    return p;
}

QString rowList(size_t rows, const QString &row)
{
    QStringList all;
    for (size_t i = 0; i < rows; ++i) all << row;
    return all.join(u',');
}

// Calls `chunk(first, count, rowsBound)` over `n` items, MaxRows at a time; rowsBound is count
// padded to a power of two.
template <class Chunk> void inChunks(size_t n, Chunk chunk)
{
    for (size_t from = 0; from < n; from += MaxRows) {
        const size_t count = std::min(MaxRows, n - from);
        chunk(from, count, padded(count));
    }
}

// The first row by id of each key the book holds, locked on PostgreSQL. The list of keys is
// the outer loop (CROSS JOIN keeps SQLite to that order), each key found through sp's index.
std::map<Key, GoodsRow> readRows(Database &db, const std::vector<Key> &keys)
{
    const QString lock = db.engine() == Database::Engine::PostgreSQL ? QStringLiteral(" FOR UPDATE OF sp") : QString();
    std::map<Key, GoodsRow> rows;
    inChunks(keys.size(), [&](size_t from, size_t count, size_t rowsBound) {
        QVariantList values;
        for (size_t i = 0; i < rowsBound; ++i) {
            const auto &[ck, ppgg, txm, dw] = keys[from + std::min(i, count - 1)];
            values << ck << ppgg << txm << dw;
        }
        QSqlQuery &q = db.execCached(
            QStringLiteral("SELECT sp.id, sp.ck, sp.ppgg, sp.txm, sp.dw, sp.kcsl, sp.kcjg, sp.kcje "
                           "FROM (VALUES %1) AS v CROSS JOIN sp "
                           "WHERE sp.ck = v.column1 AND sp.ppgg = v.column2 AND sp.txm = v.column3 AND sp.dw = v.column4 "
                           "ORDER BY sp.id")
                    .arg(rowList(rowsBound, QStringLiteral("(?,?,?,?)")))
                + lock,
            values);
        while (q.next()) {
            GoodsRow row{q.value(0).toLongLong(),
                         {Decimal::fromRaw(q.value(5).toLongLong()), Decimal::fromRaw(q.value(6).toLongLong()),
                          Decimal::fromRaw(q.value(7).toLongLong())}};
            rows.try_emplace(Key{q.value(1).toString(), q.value(2).toString(), q.value(3).toString(), q.value(4).toString()},
                             row);
        }
        q.finish();
    });
    return rows;
}

void writeRows(Database &db, const std::vector<const GoodsRow *> &changed)
{
    inChunks(changed.size(), [&](size_t from, size_t count, size_t rowsBound) {
        QVariantList values;
        for (size_t i = 0; i < rowsBound; ++i) {
            const GoodsRow &r = *changed[from + std::min(i, count - 1)];
            values << r.id << r.state.kcsl.raw() << r.state.kcjg.raw() << r.state.kcje.raw();
        }
        // Typed, so PostgreSQL reads the bound values as numbers, not text.
        const QString row = QStringLiteral("(CAST(? AS BIGINT),CAST(? AS BIGINT),CAST(? AS BIGINT),CAST(? AS BIGINT))");
        db.execCached(QStringLiteral("UPDATE sp SET kcsl = v.column2, kcjg = v.column3, kcje = v.column4 "
                                     "FROM (VALUES %1) AS v WHERE sp.id = v.column1")
                          .arg(rowList(rowsBound, row)),
                      values);
    });
}

} // namespace

void apply(Database &db, PostingRule rule, const QList<Movement> &moves)
{
    std::vector<Key> keys;
    std::set<Key> seen;
    for (const Movement &m : moves) {
        Key k = keyOf(m);
        if (seen.insert(k).second) keys.push_back(std::move(k));
    }
    std::map<Key, GoodsRow> rows = readRows(db, keys);
    for (const Movement &m : moves) {
        const Key k = keyOf(m);
        auto it = rows.find(k);
        if (it == rows.end()) {
            const StockState s = newRow(rule, m.cost, m.dq, m.dv);
            const auto &[ck, ppgg, txm, dw] = k;
            const qint64 id = db.insert(QStringLiteral("sp"), {{"ck", ck},
                                                               {"lb", DocFlag::UnknownCategory},
                                                               {"txm", txm},
                                                               {"ppgg", ppgg},
                                                               {"dw", dw},
                                                               {"kcjg", s.kcjg.raw()},
                                                               {"kcsl", s.kcsl.raw()},
                                                               {"kcje", s.kcje.raw()}});
            rows.emplace(k, GoodsRow{id, s});
            continue;
        }
        StockState &s = it->second.state;
        switch (rule) {
        case PostingRule::Inflow: s = inflow(s, m.dq, m.dv); break;
        case PostingRule::Outflow: s = outflow(s, m.dq); break;
        case PostingRule::FixedCost: s = fixedCost(s, m.dq); break;
        }
        it->second.changed = true;
    }
    std::vector<const GoodsRow *> changed;
    for (const auto &[key, row] : rows)
        if (row.changed) changed.push_back(&row);
    writeRows(db, changed);
}

} // namespace StockPosting
