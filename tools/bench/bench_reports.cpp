// The stock and trade reports on a book of 100,000 goods rows and 1,000,000 rows in each
// ledger: the stock detail opening, the goods statistics, the purchase and sales statistics in
// each grouping, the commission table and the combined statistics, each against the same
// statements through raw sqlite3.
#include "bench.h"
#include "bench_book.h"
#include "bench_raw.h"

#include "app/data/dm1.h"
#include "app/data/ledger_query.h"
#include "app/widgets/record_table_model.h"
#include "finance/analysis.h"
#include "finance/combined_statistics.h"
#include "master/ui/ledger_report_window.h"
#include "stock/goods_statistics.h"
#include "stock/ui/tfkcfx1.h"

#include <QApplication>
#include <QFile>
#include <QSqlQuery>

#include <random>

namespace {

using bench::RawQuery;

struct GoodsItem {
    QByteArray ck, txm, ppgg, dw;
};

std::vector<GoodsItem> readGoods(sqlite3 *db)
{
    std::vector<GoodsItem> out;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT ck, txm, ppgg, dw FROM sp ORDER BY id", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        GoodsItem g;
        QByteArray *f[4] = {&g.ck, &g.txm, &g.ppgg, &g.dw};
        for (int c = 0; c < 4; ++c) *f[c] = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(st, c)));
        out.push_back(g);
    }
    sqlite3_finalize(st);
    return out;
}

void exec(sqlite3 *db, const QByteArray &sql) { sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr); }

// Fills the ledgers and headers with `rows` rows each, dated over three years, from a fixed
// seed. The indexes are dropped for the filling and built again afterwards, as a bulk load does.
void fillLedgers(const QString &file, int rows)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    exec(db, "PRAGMA synchronous=OFF");
    const std::vector<GoodsItem> goods = readGoods(db);
    std::vector<std::pair<QByteArray, QByteArray>> indexes;
    {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "SELECT name, sql FROM sqlite_master WHERE type='index' AND sql IS NOT NULL AND tbl_name IN "
                               "('cgfx','xsfx','rkfx','fkfx','skfx','szfx','cgglz','xsglz')", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            indexes.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)),
                                 reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
        sqlite3_finalize(st);
    }
    for (const auto &[name, sql] : indexes) exec(db, "DROP INDEX " + name);

    std::mt19937 rnd(77);
    auto date = [&rnd] {
        const int day = int(rnd() % 1095);
        return QDate(2023, 1, 1).addDays(day).toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
    };
    auto name = [&rnd](const char *prefix, int n) { return QByteArray(prefix) + QByteArray::number(int(rnd() % unsigned(n))); };
    auto text = [](sqlite3_stmt *st, int i, const QByteArray &v) { sqlite3_bind_text(st, i, v.constData(), int(v.size()), SQLITE_TRANSIENT); };
    auto run = [](sqlite3_stmt *st) {
        sqlite3_step(st);
        sqlite3_reset(st);
    };

    exec(db, "BEGIN");
    sqlite3_stmt *cg = nullptr, *xs = nullptr, *rk = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO cgfx (rq,dh,ck,ghs,jsr,txm,ppgg,dw,sl,jg,zk,je) VALUES (?,?,?,?,?,?,?,?,?,?,10000,?)", -1, &cg, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO xsfx (rq,dh,ck,kh,jsr,txm,ppgg,dw,sl,jg,zk,je,cbjg,cbje,maoli) VALUES (?,?,?,?,?,?,?,?,?,?,10000,?,?,?,?)", -1, &xs, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO rkfx (rq,dh,ck,lx,jsr,txm,ppgg,dw,sl,jg,je) VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1, &rk, nullptr);
    static const char *reasons[] = {"盘盈", "盘亏", "库存调出", "库存调入", "报损"};
    // A dealer's pattern: some goods sell far more than others, each goods item comes mostly
    // from its usual supplier, a few big customers buy much of the volume, five buyers purchase
    // and twenty-five salespeople sell.
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto skewed = [&](size_t n) { const double u = unit(rnd); return size_t(double(n) * u * u); };
    for (int i = 0; i < rows; ++i) {
        for (sqlite3_stmt *st : {cg, xs, rk}) {
            const size_t n = skewed(goods.size());
            const GoodsItem &g = goods[n];
            const qint64 sl = (qint64(rnd() % 50) - (rnd() % 20 == 0 ? 60 : 0)) * 10000;   // a few returns
            const qint64 jg = qint64(rnd() % 10000) * 100;
            const qint64 je = sl / 10000 * jg;
            text(st, 1, date());
            text(st, 2, "DH" + QByteArray::number(i / 3));
            text(st, 3, g.ck);
            if (st == cg) text(st, 4, "厂商" + QByteArray::number(rnd() % 10 ? int(n % 300) : int(rnd() % 300)));
            if (st == xs) text(st, 4, "客户" + QByteArray::number(int(skewed(2000))));
            if (st == rk) text(st, 4, reasons[rnd() % 5]);
            text(st, 5, st == cg ? name("采购员", 5) : name("员工", 25));
            text(st, 6, g.txm);
            text(st, 7, g.ppgg);
            text(st, 8, g.dw);
            sqlite3_bind_int64(st, 9, sl);
            sqlite3_bind_int64(st, 10, jg);
            sqlite3_bind_int64(st, 11, je);
            if (st == xs) {
                sqlite3_bind_int64(st, 12, jg * 8 / 10);
                sqlite3_bind_int64(st, 13, je * 8 / 10);
                sqlite3_bind_int64(st, 14, je - je * 8 / 10);
            }
            run(st);
        }
    }
    for (sqlite3_stmt *st : {cg, xs, rk}) sqlite3_finalize(st);

    sqlite3_stmt *fk = nullptr, *sk = nullptr, *sz = nullptr, *cgz = nullptr, *xsz = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO fkfx (rq,dh,ghs,je,jsr,shbj) VALUES (?,?,?,?,'员工1',?)", -1, &fk, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO skfx (rq,dh,kh,je,jsr,shbj) VALUES (?,?,?,?,'员工1',?)", -1, &sk, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO szfx (rq,lb,xm,se,ze,jsr) VALUES (?,'收入','房租',?,?,'员工1')", -1, &sz, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO cgglz (dh,rq,ghs,yfe,sfe,qk,shbj) VALUES (?,?,?,?,?,?,?)", -1, &cgz, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO xsglz (dh,rq,kh,yse,sse,qk,shbj) VALUES (?,?,?,?,?,?,?)", -1, &xsz, nullptr);
    const QByteArray approved = QByteArray("已审核"), held = QByteArray("未审核");
    for (int i = 0; i < rows; ++i) {
        for (sqlite3_stmt *st : {fk, sk}) {
            text(st, 1, date());
            text(st, 2, "DH" + QByteArray::number(i));
            text(st, 3, name("户", 2000));
            sqlite3_bind_int64(st, 4, qint64(rnd() % 100000) * 100);
            text(st, 5, rnd() % 10 ? approved : held);
            run(st);
        }
        text(sz, 1, date());
        sqlite3_bind_int64(sz, 2, qint64(rnd() % 100000) * 100);
        sqlite3_bind_int64(sz, 3, qint64(rnd() % 100000) * 100);
        run(sz);
    }
    // One header per three ledger lines.
    for (int i = 0; i < rows / 3; ++i) {
        for (sqlite3_stmt *st : {cgz, xsz}) {
            const qint64 due = qint64(rnd() % 1000000) * 100, paid = due / 2;
            text(st, 1, (st == cgz ? "CG" : "XS") + QByteArray::number(i));
            text(st, 2, date());
            text(st, 3, name("户", 2000));
            sqlite3_bind_int64(st, 4, due);
            sqlite3_bind_int64(st, 5, paid);
            sqlite3_bind_int64(st, 6, due - paid);
            text(st, 7, rnd() % 10 ? approved : held);
            run(st);
        }
    }
    for (sqlite3_stmt *st : {fk, sk, sz, cgz, xsz}) sqlite3_finalize(st);
    // Commission rates: per unit sold and on the amount.
    exec(db, "UPDATE sp SET slt = (id % 5) * 1000, jet = (id % 3) * 100");
    exec(db, "COMMIT");
    for (const auto &index : indexes) exec(db, index.second);
    exec(db, "ANALYZE");
    sqlite3_close(db);
}

std::vector<QByteArray> utf8(const QVariantList &values)
{
    std::vector<QByteArray> out;
    for (const QVariant &v : values) out.push_back(v.toString().toUtf8());
    return out;
}

const QList<RecordTableModel::Column> &anyColumns()
{
    using Col = RecordTableModel::Column;
    static const QList<Col> c = {Col{"fenzu", "", RecordTableModel::Text}, Col{"txm", "", RecordTableModel::Text},
                                 Col{"ppgg", "", RecordTableModel::Text},  Col{"dw", "", RecordTableModel::Text},
                                 Col{"zsl", "", RecordTableModel::Quantity}, Col{"zje", "", RecordTableModel::Amount},
                                 Col{"zcb", "", RecordTableModel::Amount}, Col{"zmaoli", "", RecordTableModel::Amount}};
    return c;
}

void reports(const bench::Options &o)
{
    const int goods = int(100000 * o.scale), rows = int(1000000 * o.scale);
    // MARVODA_REPORTS_BOOK=FILE keeps the filled book there, or uses the one already there, so
    // the long filling runs once for several runs.
    const QString kept = qEnvironmentVariable("MARVODA_REPORTS_BOOK");
    QString file;
    if (!kept.isEmpty() && QFile::exists(kept)) {
        file = kept;
    } else {
        file = bench::makeGoodsBook(o.workDir, goods, 10);
        fillLedgers(file, rows);
        if (!kept.isEmpty() && QFile::copy(file, kept)) file = kept;
    }
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    DM1::setCurrent(&dm);
    Database &db = dm.db();
    const QString within = QStringLiteral("< 1000 ms, ratio < 1.5");

    // The stock detail as the menu opens it.
    {
        const double open = bench::medianMs(5, [&] {
            TFkcfx1 w;
            w.show();
            QApplication::processEvents();
        });
        RawQuery all(file, QStringLiteral("SELECT id, ck, lb, ppgg, txm, dw, jj, xjpf, xjls, slt, jet, kcsl, kcjg, kcje, ms, bz FROM sp ORDER BY id"));
        RawQuery sums(file, QStringLiteral("SELECT SUM(kcsl), SUM(kcje) FROM sp"));
        qint64 sink = 0;
        const double bound = bench::medianMs(5, [&] { sink += all.run({}) + sums.run({}); });
        bench::report(QStringLiteral("stock detail opens (%1 goods)").arg(goods), open, bound, QStringLiteral("< 300 ms"));
        if (sink == 42) std::puts("");
    }

    // Goods statistics without a filter, as the window computes them: the first screen of rows
    // and the totals (against each ledger's first screen and the totals through raw sqlite3),
    // then every row as the window reads them behind the first screen.
    {
        RecordTableModel model({{"txm", ""}, {"ppgg", ""}, {"dw", ""}, {"cgsl", "", RecordTableModel::Quantity},
                                {"cgje", "", RecordTableModel::Amount}, {"xssl", "", RecordTableModel::Quantity},
                                {"xsje", "", RecordTableModel::Amount}, {"rksl", "", RecordTableModel::Quantity},
                                {"rkje", "", RecordTableModel::Amount}, {"ysl", "", RecordTableModel::Quantity},
                                {"yje", "", RecordTableModel::Amount}});
        QVariantList values, totalValues;
        const QStringList sqls = GoodsStatistics::ledgerSqls(db, {}, &values);
        RawQuery rawTotals(file, GoodsStatistics::totalsSql(db, {}, &totalValues));
        std::vector<std::unique_ptr<RawQuery>> raws;
        for (const QString &sql : sqls) raws.push_back(std::make_unique<RawQuery>(file, sql));
        for (const bool everyRow : {false, true}) {
            const double t = bench::medianMs(3, [&] {
                model.loadLazily(GoodsStatistics::rows(db, {}), RecordTableModel::FirstScreen);
                GoodsStatistics::totals(db, {});
                if (everyRow) model.fetchAll();
            });
            qint64 sink = 0;
            const double bound = bench::medianMs(3, [&] {
                for (auto &r : raws) sink += r->run(utf8(values), everyRow ? -1 : RecordTableModel::FirstScreen);
                sink += rawTotals.run(utf8(totalValues));
            });
            bench::report(everyRow ? QStringLiteral("goods statistics, every row") : QStringLiteral("goods statistics, no filter"),
                          t, bound, everyRow ? QStringLiteral("read behind the first screen") : within);
            if (sink == 42) std::puts("");
            model.close();
        }
    }

    // Purchase and sales statistics in each grouping, as the window computes them: the first
    // screen of rows and the totals, the rest read while the operator looks at the first.
    RecordTableModel model(anyColumns());
    for (const LedgerKind *ledger : {&LedgerKind::purchases(), &LedgerKind::sales()}) {
        for (auto [g, label] : {std::pair{LedgerGrouping::None, "no grouping"}, std::pair{LedgerGrouping::Party, "by partner"},
                                std::pair{LedgerGrouping::Handler, "by handler"}}) {
            LedgerQuery lq(db, *ledger);
            QVariantList values;
            const QString sql = lq.statisticsSql({}, g, &values);
            const SqlFilter all = lq.conditions({});
            const double t = bench::medianMs(3, [&] {
                model.loadLazily(lq.statistics({}, g), RecordTableModel::FirstScreen);
                lq.totals(all);
            });
            RawQuery raw(file, sql), rawTotals(file, lq.totalsSql(all));
            qint64 sink = 0;
            const double bound = bench::medianMs(3, [&] {
                sink += raw.run(utf8(values), RecordTableModel::FirstScreen) + rawTotals.run(utf8(all.values()));
            });
            bench::report(QStringLiteral("%1 statistics, %2").arg(ledger->table, QLatin1String(label)), t, bound, within);
            if (sink == 42) std::puts("");
            model.close();
        }
    }

    // The commission table.
    {
        QVariantList values;
        const QStringList sqls = Analysis::commissionSqls(db, {}, &values);
        RawQuery all(file, sqls[0]), younger(file, sqls[1]);
        const double t = bench::medianMs(3, [&] { Analysis::commissions(db, {}); });
        qint64 sink = 0;
        const double bound = bench::medianMs(3, [&] { sink += all.run({}) + younger.run({}); });
        bench::report(QStringLiteral("commission table"), t, bound, within);
        if (sink == 42) std::puts("");
    }

    // The combined statistics, all time and one year.
    for (const bool dated : {false, true}) {
        const CombinedPeriod p{dated, QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31")};
        const QString range = QStringLiteral("rq >= '2024-01-01' AND rq <= '2024-12-31'");
        const QString period = dated ? " WHERE " + range : QString();
        const QString andPeriod = dated ? " AND " + range : QString();
        QStringList sqls = {"SELECT SUM(sl),SUM(je) FROM cgfx" + period, "SELECT SUM(sl),SUM(je) FROM xsfx" + period,
                            "SELECT SUM(sl),SUM(je) FROM rkfx" + period, "SELECT SUM(kcsl),SUM(kcje) FROM sp",
                            "SELECT SUM(yfe),SUM(sfe),SUM(qk) FROM cgglz WHERE shbj = '已审核'" + andPeriod,
                            "SELECT SUM(yse),SUM(sse),SUM(qk) FROM xsglz WHERE shbj = '已审核'" + andPeriod,
                            "SELECT SUM(je) FROM skfx WHERE shbj = '已审核'" + andPeriod,
                            "SELECT SUM(je) FROM fkfx WHERE shbj = '已审核'" + andPeriod,
                            "SELECT SUM(se),SUM(ze) FROM szfx" + period};
        std::vector<std::unique_ptr<RawQuery>> raws;
        for (const QString &s : sqls) raws.push_back(std::make_unique<RawQuery>(file, s));
        const double t = bench::medianMs(3, [&] { CombinedStatistics::compute(db, p); });
        qint64 sink = 0;
        const double bound = bench::medianMs(3, [&] {
            for (auto &r : raws) sink += r->run({});
        });
        bench::report(dated ? QStringLiteral("combined statistics, one year") : QStringLiteral("combined statistics, all time"),
                      t, bound, within);
        if (sink == 42) std::puts("");
    }
    DM1::setCurrent(nullptr);
}

} // namespace

MARVODA_BENCH("reports", reports)
