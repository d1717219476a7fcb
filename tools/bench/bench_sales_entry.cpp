// The retail counter scanning goods on a book of 100,000 goods rows: from the key event that
// completes a code, followed by Enter to the quantity and Enter to add, to the line shown in the
// grid with the totals updated. The bound is the raw code lookup of the same codes.
#include "bench.h"
#include "bench_book.h"
#include "bench_raw.h"

#include "app/data/dm1.h"
#include "documents/ui/tftjxsd1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

#include <random>

namespace {

// A key as the scanner or the keyboard sends it to whatever has the focus.
void key(int code, const QString &text = QString())
{
    QWidget *to = QApplication::focusWidget();
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(to, &release);
}

void scanToLine(const bench::Options &o)
{
    const int rows = int(100000 * o.scale);
    const QString file = bench::makeGoodsBook(o.workDir, rows, 10);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    DM1::setCurrent(&dm);

    std::mt19937 rnd(11);
    std::vector<QString> codes;
    for (int i = 0; i < 200; ++i) codes.push_back(bench::goodsCode(int(rnd() % unsigned(rows))));

    TFtjxsd1 w;
    w.show();
    QApplication::processEvents();
    auto *txm = w.findChild<QLineEdit *>(QStringLiteral("txm"));
    w.findChild<QLineEdit *>(QStringLiteral("ck"))->setText(bench::warehouseName(0));
    w.findChild<QLineEdit *>(QStringLiteral("jsr"))->setText(QStringLiteral("张三"));
    w.findChild<QLineEdit *>(QStringLiteral("kh"))->setText(QStringLiteral("路人甲"));
    w.findChild<QLineEdit *>(QStringLiteral("sl"))->setText(QStringLiteral("1"));
    auto *grid = w.findChild<QTableView *>(QStringLiteral("DBGrid1"));

    size_t k = 0;
    int missed = 0;
    const double ours = bench::medianMs(int(codes.size()), [&] {
        const QString &code = codes[k++ % codes.size()];
        const int before = grid->model()->rowCount();
        txm->setFocus();
        txm->setText(code.left(code.size() - 1));   // the scanner's earlier characters
        key(code.back().toUpper().unicode(), code.back());
        key(Qt::Key_Return);   // to the quantity
        key(Qt::Key_Return);   // adds the line
        QApplication::processEvents();
        if (grid->model()->rowCount() != before + 1) ++missed;
    });
    if (missed) std::printf("scan-to-line: %d scans added no line\n", missed);
    w.lines().discard();

    bench::RawQuery raw(file, QStringLiteral("SELECT * FROM sp WHERE txm = ? ORDER BY id LIMIT 2"));
    k = 0;
    qint64 sink = 0;
    const double bound = bench::medianMs(int(codes.size()), [&] { sink += raw.run({codes[k++ % codes.size()].toUtf8()}); });
    if (sink == 42) std::puts("");
    bench::report(QStringLiteral("retail scan-to-line (%1 goods rows)").arg(rows), ours, bound, QStringLiteral("< 50 ms"));
    DM1::setCurrent(nullptr);
}

} // namespace

MARVODA_BENCH("sales scan", scanToLine)
