// The goods list and the goods picker on a book of 100,000 goods rows in 10 warehouses: opening
// the list, sorting it by a title click, and the picker's search on every keystroke.
#include "bench.h"
#include "bench_book.h"
#include "bench_raw.h"

#include "app/data/dm1.h"
#include "app/widgets/record_table_model.h"
#include "master/goods.h"
#include "master/ui/goods_grid.h"
#include "master/ui/tfsp1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

#include <random>

namespace {

constexpr int Warehouses = 10;

using bench::RawQuery;

void goodsList(const bench::Options &o)
{
    const int rows = int(100000 * o.scale);
    const QString file = bench::makeGoodsBook(o.workDir, rows, Warehouses);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    DM1::setCurrent(&dm);

    // The whole window as the menu opens it: tree, grid and the first rows on screen.
    const double open = bench::medianMs(5, [&] {
        TFsp1 w;
        w.resize(900, 520);
        w.show();
        QApplication::processEvents();
        if (w.model()->rowCount() != rows) std::puts("goods list lost rows");
    });
    RawQuery raw(file, QStringLiteral("SELECT id, ck, lb, ppgg, txm, dw, jj, xjpf, xjls, slt, jet, kcsl, kcjg, kcje, ms, bz FROM sp ORDER BY id"));
    qint64 sink = 0;
    const double openBound = bench::medianMs(5, [&] { sink += raw.run({}); });
    bench::report(QStringLiteral("goods list opens (%1 rows)").arg(rows), open, openBound, QStringLiteral("< 300 ms"));

    TFsp1 w;
    w.resize(900, 520);
    w.show();
    QApplication::processEvents();
    for (const char *field : {"ppgg", "kcsl"}) {
        const int column = w.model()->columnOf(QString::fromLatin1(field));
        int click = 0;
        const double sort = bench::medianMs(5, [&] {
            w.model()->sort(column, click++ % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
            QApplication::processEvents();
        });
        RawQuery rawSort(file, QStringLiteral("SELECT id, ck, lb, ppgg, txm, dw, jj, xjpf, xjls, slt, jet, kcsl, kcjg, kcje, ms, bz FROM sp ORDER BY %1").arg(QLatin1String(field)));
        const double sortBound = bench::medianMs(5, [&] { sink += rawSort.run({}); });
        bench::report(QStringLiteral("goods list title sort by %1").arg(QLatin1String(field)), sort, sortBound,
                      QStringLiteral("< 300 ms"));
    }
    DM1::setCurrent(nullptr);
    if (sink == 42) std::puts("");
}

void goodsPickerSearch(const bench::Options &o)
{
    const int rows = int(100000 * o.scale);
    const QString file = bench::makeGoodsBook(o.workDir, rows, Warehouses);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    Database &db = dm.db();

    // What an operator types: a code letter by letter, or a part of a name.
    std::mt19937 rnd(11);
    std::vector<std::pair<QString, QString>> keystrokes;   // warehouse, text in the box
    for (int i = 0; i < 40; ++i) {
        const int n = int(rnd() % unsigned(rows));
        const QString ck = bench::warehouseName(n % Warehouses);
        const QString code = bench::goodsCode(n);
        for (int len = 1; len <= code.size(); ++len) keystrokes.emplace_back(ck, code.left(len));
        keystrokes.emplace_back(ck, QStringLiteral("钢"));
        keystrokes.emplace_back(ck, QStringLiteral("钢管 %1").arg(n % 100));
    }

    RecordTableModel model(GoodsGrid::pickerColumns(false));
    GoodsCatalogue goods(db);
    size_t k = 0;
    const double ours = bench::medianMs(int(keystrokes.size()), [&] {
        const auto &[ck, typed] = keystrokes[k++ % keystrokes.size()];
        model.load(goods.search(ck, typed));
    });

    const QString sql = QStringLiteral("SELECT id, ck, lb, ppgg, txm, dw, jj, xjpf, xjls, slt, jet, kcsl, kcjg, kcje, ms, bz FROM sp "
                                       "WHERE ck = ? AND (ppgg LIKE ? ESCAPE '\\' OR txm LIKE ? ESCAPE '\\' OR lb LIKE ? ESCAPE '\\') ORDER BY id");
    RawQuery raw(file, sql);
    k = 0;
    qint64 sink = 0;
    const double bound = bench::medianMs(int(keystrokes.size()), [&] {
        const auto &[ck, typed] = keystrokes[k++ % keystrokes.size()];
        const QByteArray p = Database::containsPattern(typed).toUtf8();
        sink += raw.run({ck.toUtf8(), p, p, p});
    });
    bench::report(QStringLiteral("goods picker keystroke (%1 rows)").arg(rows), ours, bound,
                  QStringLiteral("median < 30 ms, ratio < 2"));
    if (sink == 42) std::puts("");
}

} // namespace

MARVODA_BENCH("goods-list", goodsList)
MARVODA_BENCH("goods-picker-search", goodsPickerSearch)
