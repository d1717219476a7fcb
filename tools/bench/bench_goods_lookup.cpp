// A document window's goods-code lookup (code + warehouse) on a book of 100,000 goods rows.
#include "bench.h"
#include "bench_book.h"

#include "app/data/dm1.h"

#include <QSqlQuery>

#include <sqlite3.h>

#include <random>

namespace {

const char *LookupSql = "SELECT id, ck, lb, ppgg, txm, dw, jj, xjpf, xjls, kcsl, kcjg, kcje FROM sp WHERE ck = ? AND txm = ?";

void goodsLookup(const bench::Options &o)
{
    const int rows = int(100000 * o.scale);
    const QString file = bench::makeGoodsBook(o.workDir, rows, 10);

    std::mt19937 rnd(7);
    std::vector<std::pair<QString, QString>> keys;
    for (int i = 0; i < 4000; ++i) {
        const int n = int(rnd() % unsigned(rows));
        keys.emplace_back(bench::warehouseName(n % 10), bench::goodsCode(n));
    }

    size_t k = 0;
    qint64 sink = 0;
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    Database &db = dm.db();
    const QString sql = QString::fromLatin1(LookupSql);
    const double ours = bench::medianMs(int(keys.size()), [&] {
        const auto &[ck, txm] = keys[k++ % keys.size()];
        QSqlQuery &q = db.execCached(sql, {ck, txm});
        while (q.next()) {
            for (int c = 0; c < 12; ++c) q.value(c);
            sink += q.value(9).toLongLong();
        }
    });

    sqlite3 *raw = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(raw, LookupSql, -1, &st, nullptr);
    k = 0;
    std::vector<std::pair<QByteArray, QByteArray>> rawKeys;
    for (const auto &[ck, txm] : keys) rawKeys.emplace_back(ck.toUtf8(), txm.toUtf8());
    const double bound = bench::medianMs(int(keys.size()), [&] {
        const auto &[ck, txm] = rawKeys[k++ % rawKeys.size()];
        sqlite3_bind_text(st, 1, ck.constData(), int(ck.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, txm.constData(), int(txm.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < 12; ++c) sqlite3_column_text(st, c);
            sink += sqlite3_column_int64(st, 9);
        }
        sqlite3_reset(st);
    });
    sqlite3_finalize(st);
    sqlite3_close(raw);
    bench::report(QStringLiteral("goods code lookup (%1 rows)").arg(rows), ours, bound,
                  QStringLiteral("median < 1 ms, ratio <= 2"));
    if (sink == 42) std::puts("");
}

} // namespace

MARVODA_BENCH("goods-lookup", goodsLookup)
