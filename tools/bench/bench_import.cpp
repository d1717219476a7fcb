// Importing a workbook of 50,000 goods rows into an empty book, against the same rows inserted
// by one prepared statement in one transaction through the raw sqlite3 API.
#include "bench.h"
#include "bench_book.h"

#include "app/data/dm1.h"
#include "master/spreadsheet_import.h"

#include <sqlite3.h>
#include <xlsxwriter.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

struct GoodsLine {
    QByteArray lb, txm, ppgg, dw, ms, bz, ck;
    double numbers[8];   // jj, xjpf, xjls, kcsl, kcjg, kcje, slt, jet
};

std::vector<GoodsLine> makeLines(int n)
{
    static const char *kinds[] = {"镀锌钢管", "螺纹钢", "水泥", "瓷砖", "PVC管", "铜线", "石膏板", "防水涂料"};
    static const char *units[] = {"根", "吨", "袋", "片", "米", "卷", "张", "桶"};
    std::vector<GoodsLine> out;
    out.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        const int k = i % 8;
        GoodsLine g;
        g.lb = QByteArray(kinds[k]).left(6);
        g.txm = QByteArray::number(i).rightJustified(6, '0');
        g.ppgg = QStringLiteral("%1 %2号 规格%3").arg(QString::fromUtf8(kinds[k])).arg(i).arg(i % 97).toUtf8();
        g.dw = units[k];
        g.ms = i % 3 ? QByteArray() : QByteArray("国标");
        g.bz = QByteArray();
        g.ck = QStringLiteral("仓库%1").arg(i % 10 + 1).toUtf8();
        const double price = double(i % 1000) + 0.25;
        const double qty = double(i % 500);
        const double v[8] = {price, price * 1.2, price * 1.5, qty, price, price * qty, 0.5, 0.02};
        std::copy(std::begin(v), std::end(v), g.numbers);
        out.push_back(g);
    }
    return out;
}

void writeXlsx(const QString &path, const std::vector<GoodsLine> &lines)
{
    // Shared strings, as spreadsheet programs save them.
    lxw_workbook *wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Sheet1");
    const QStringList head = spreadsheet_import::headings(ImportTarget::Goods);
    for (int c = 0; c < head.size(); ++c) worksheet_write_string(ws, 0, lxw_col_t(c), head[c].toUtf8().constData(), nullptr);
    lxw_row_t r = 1;
    for (const GoodsLine &g : lines) {
        worksheet_write_string(ws, r, 0, g.lb.constData(), nullptr);
        worksheet_write_string(ws, r, 1, g.txm.constData(), nullptr);
        worksheet_write_string(ws, r, 2, g.ppgg.constData(), nullptr);
        worksheet_write_string(ws, r, 3, g.dw.constData(), nullptr);
        for (int c = 0; c < 8; ++c) worksheet_write_number(ws, r, lxw_col_t(4 + c), g.numbers[c], nullptr);
        if (!g.ms.isEmpty()) worksheet_write_string(ws, r, 12, g.ms.constData(), nullptr);
        worksheet_write_string(ws, r, 14, g.ck.constData(), nullptr);
        ++r;
    }
    if (workbook_close(wb) != LXW_NO_ERROR) throw std::runtime_error("cannot write the workbook");
}

void writeCsv(const QString &path, const std::vector<GoodsLine> &lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the csv");
    f.write(spreadsheet_import::headings(ImportTarget::Goods).join(u',').toUtf8() + "\r\n");
    for (const GoodsLine &g : lines) {
        QByteArray line = g.lb + ',' + g.txm + ',' + g.ppgg + ',' + g.dw;
        for (double v : g.numbers) line += ',' + QByteArray::number(v, 'f', 4);
        line += ',' + g.ms + ',' + g.bz + ',' + g.ck + "\r\n";
        f.write(line);
    }
}

QString freshBook(const QString &dir)
{
    QDir().mkpath(dir);
    const QString file = bench::newBook(dir);
    return file;
}

// Median of three imports, each into a new book.
double timeImport(const bench::Options &o, const QString &source, const QString &tag, int expected)
{
    std::vector<double> t;
    for (int run = 0; run < 3; ++run) {
        DM1 dm(BookLocation::sqlite(freshBook(QDir(o.workDir).filePath(tag + QString::number(run)))));
        dm.open();
        QElapsedTimer clock;
        clock.start();
        const ImportResult r = importFile(dm.db(), ImportTarget::Goods, source);
        t.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (!r.ok || r.inserted != expected)
            std::fprintf(stderr, "import of %s failed: %s (%d rows)\n", qPrintable(source), qPrintable(r.reason), r.inserted);
    }
    std::sort(t.begin(), t.end());
    return t[1];
}

double timeRawInsert(const bench::Options &o, const std::vector<GoodsLine> &lines)
{
    std::vector<double> t;
    for (int run = 0; run < 3; ++run) {
        const QString file = freshBook(QDir(o.workDir).filePath(QStringLiteral("raw%1").arg(run)));
        sqlite3 *db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        QElapsedTimer clock;
        clock.start();
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO sp (lb,txm,ppgg,dw,jj,xjpf,xjls,kcsl,kcjg,kcje,slt,jet,ms,bz,ck) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                           -1, &st, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const GoodsLine &g : lines) {
            const QByteArray *texts[] = {&g.lb, &g.txm, &g.ppgg, &g.dw};
            for (int c = 0; c < 4; ++c) sqlite3_bind_text(st, c + 1, texts[c]->constData(), int(texts[c]->size()), SQLITE_STATIC);
            for (int c = 0; c < 8; ++c) sqlite3_bind_int64(st, 5 + c, sqlite3_int64(g.numbers[c] * 10000.0 + 0.5));
            sqlite3_bind_text(st, 13, g.ms.constData(), int(g.ms.size()), SQLITE_STATIC);
            sqlite3_bind_text(st, 14, g.bz.constData(), int(g.bz.size()), SQLITE_STATIC);
            sqlite3_bind_text(st, 15, g.ck.constData(), int(g.ck.size()), SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(st);
        t.push_back(double(clock.nsecsElapsed()) / 1e6);
        sqlite3_close(db);
    }
    std::sort(t.begin(), t.end());
    return t[1];
}

void importGoods(const bench::Options &o)
{
    const int rows = std::max(1, int(50000 * o.scale));
    const std::vector<GoodsLine> lines = makeLines(rows);
    const QString xlsx = QDir(o.workDir).filePath(QStringLiteral("goods.xlsx"));
    const QString csv = QDir(o.workDir).filePath(QStringLiteral("goods.csv"));
    writeXlsx(xlsx, lines);
    writeCsv(csv, lines);
    const double bound = timeRawInsert(o, lines);
    const QString target = QStringLiteral("< 5000 ms");
    bench::report(QStringLiteral("import %1 goods (.xlsx)").arg(rows), timeImport(o, xlsx, "xlsx", rows), bound, target);
    bench::report(QStringLiteral("import %1 goods (.csv)").arg(rows), timeImport(o, csv, "csv", rows), bound, target);

    // The .xls is made from the same workbook by LibreOffice, when it is installed.
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty()) return;
    QProcess lo;
    lo.setWorkingDirectory(o.workDir);
    lo.start(office, {QStringLiteral("-env:UserInstallation=file://") + QDir(o.workDir).filePath(QStringLiteral("lo-profile")),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("xls"),
                      QStringLiteral("--outdir"), o.workDir, xlsx});
    lo.waitForFinished(300000);
    const QString xls = QDir(o.workDir).filePath(QStringLiteral("goods.xls"));
    if (QFile::exists(xls))
        bench::report(QStringLiteral("import %1 goods (.xls)").arg(rows), timeImport(o, xls, "xls", rows), bound, target);
}

} // namespace

MARVODA_BENCH("import 50k goods", importGoods)
