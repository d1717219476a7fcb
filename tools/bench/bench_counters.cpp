// Four counters approving on one shared PostgreSQL book at once, while a fifth reads the stock
// detail and the purchase list: per approval against the same work done by one counter alone.
// Each counter is a process of its own (this program started again with a hidden argument), as
// at a shop. After the run the book is checked: no goods row lost an update, no number was
// given twice, every document owes what it was not paid.
//
// The server: MARVODA_BENCH_PG="host=… port=… dbname=… user=… password=…" names an empty
// database to use; otherwise a throwaway server is started on loopback as the tests do.
#include "bench.h"

#include "app/data/dm1.h"
#include "app/session.h"
#include "documents/document_list_query.h"
#include "documents/document_numbering.h"
#include "documents/document_service.h"
#include "master/goods.h"
#include "stock/stock_detail.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

constexpr int Counters = 4;
constexpr int Documents = 250;   // per counter
constexpr int Lines = 20;
constexpr int SharedGoods = 50;
constexpr qint64 StartQuantity = 1000000;   // never runs out: the cost stays the start cost
constexpr qint64 UnitCost = 5;
const char *const WorkerArg = "--counters-worker";
const char *const ReaderArg = "--counters-reader";

QString goodsCode(int n) { return QStringLiteral("GX%1").arg(n, 3, 10, QChar(u'0')); }
const QString Warehouse = QStringLiteral("主仓库");

void openOrThrow(DM1 &dm)
{
    QString why;
    if (!dm.open(&why)) throw std::runtime_error(why.toStdString());
}

// One counter's day: `docs` documents, purchases and sales in turn, 20 lines each on goods
// drawn from the shared 50; every tenth is un-approved and deleted again. Prints each
// approval's milliseconds, then the operations that failed after their retries.
int counterWorker(const QString &conninfo, int counter, int docs)
{
    DM1 dm(BookLocation::postgres(conninfo));
    openOrThrow(dm);
    Database &db = dm.db();
    session::current().stYhm1 = QStringLiteral("系统管理员");
    std::mt19937 rnd(uint32_t(1000 + counter));
    std::vector<int> goods(SharedGoods);
    const QDate today = QDate::currentDate();
    int errors = 0;
    for (int d = 0; d < docs; ++d) {
        const DocType type = (d + counter) % 2 == 0 ? DocType::Purchase : DocType::Retail;
        const DocumentKind &kind = documentKind(type);
        const bool sale = type == DocType::Retail;
        try {
            LineBuffer lines(db, kind);
            lines.startNew(DocumentNumbering::next(db, kind, today).dh);
            for (int i = 0; i < SharedGoods; ++i) goods[size_t(i)] = i;
            std::shuffle(goods.begin(), goods.end(), rnd);
            for (int i = 0; i < Lines; ++i) {
                DocumentLine l;
                l.txm = goodsCode(goods[size_t(i)]);
                l.ppgg = QStringLiteral("商品") + l.txm;
                l.dw = QStringLiteral("件");
                l.sl = Decimal::fromRaw(qint64(1 + rnd() % 5) * 10000);
                l.jg = Decimal::fromRaw((sale ? 8 : UnitCost) * 10000);
                l.cbjg = Decimal::fromRaw(UnitCost * 10000);
                l.recompute(sale);
                lines.add(l);
            }
            DocumentHeader h;
            h.rq = dateText(today);
            h.setField(kind.movements[0].warehouseColumn, Warehouse);
            if (!kind.partyColumn.isEmpty())
                h.setField(kind.partyColumn, sale ? QStringLiteral("客户%1").arg(counter) : QStringLiteral("厂商%1").arg(counter));
            h.jsr = QStringLiteral("员工%1").arg(counter);
            h.payable = lines.totals().hjje;
            // Some pay in part: their debt is what the check reads back.
            h.paid = d % 3 == 0 ? (h.payable / Decimal::fromRaw(20000)).round2() : h.payable;
            DocumentService service(db, kind);
            QElapsedTimer clock;
            clock.start();
            const QString dh = service.save(h, lines, true, today);
            std::printf("%.3f\n", double(clock.nsecsElapsed()) / 1e6);
            if (d % 10 == 9) {
                service.unapprove(dh);
                service.remove(dh);
            }
        } catch (const std::exception &e) {
            std::fprintf(stderr, "counter %d document %d: %s\n", counter, d, e.what());
            ++errors;
        }
    }
    std::printf("errors %d\n", errors);
    std::fflush(stdout);
    return 0;
}

// The fifth computer: the stock detail with its totals and the purchase list, over and over
// until it is stopped.
int readerWorker(const QString &conninfo)
{
    DM1 dm(BookLocation::postgres(conninfo));
    openOrThrow(dm);
    Database &db = dm.db();
    for (;;) {
        QSqlQuery goods = GoodsCatalogue(db).all();
        while (goods.next()) {}
        StockDetail::allTotals(db);
        DocumentListQuery list(db, documentKind(DocType::Purchase));
        QSqlQuery docs = list.rows(DocumentListFilter{});
        while (docs.next()) {}
        list.sums(DocumentListFilter{});
    }
}

// A throwaway server on loopback, stopped and removed when it goes.
class ThrowawayServer {
public:
    ThrowawayServer()
    {
        port_ = 20000 + int(QCoreApplication::applicationPid() % 20000);
        dir_ = QStringLiteral("/tmp/marvoda-bench-pg-%1").arg(port_);
        QProcess up;
        up.start(QStringLiteral("sh"), {script("pg-up.sh"), dir_, QString::number(port_)});
        if (!up.waitForFinished(120000) || up.exitCode() != 0)
            throw std::runtime_error("pg-up.sh failed: " + up.readAllStandardError().toStdString());
        BookLocation server = BookLocation::postgres(conninfo(QStringLiteral("postgres")));
        Database admin(server);
        QString why;
        if (!admin.open(&why)) throw std::runtime_error(why.toStdString());
        admin.exec(QStringLiteral("CREATE DATABASE counters"));
    }
    ~ThrowawayServer() { QProcess::execute(QStringLiteral("sh"), {script("pg-down.sh"), dir_}); }
    QString conninfo(const QString &db = QStringLiteral("counters")) const
    {
        return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=postgres").arg(port_).arg(db);
    }

private:
    static QString script(const char *name)
    {
        return QDir(QStringLiteral(MARVODA_SOURCE_DIR "/tools")).filePath(QString::fromLatin1(name));
    }
    int port_;
    QString dir_;
};

// A fresh book with the 50 shared goods rows in one warehouse.
void makeBook(const QString &conninfo)
{
    const BookLocation where = BookLocation::postgres(conninfo);
    QString why;
    if (!createBook(where, QString(), &why)) throw std::runtime_error(why.toStdString());
    Database db(where);
    db.open();
    Transaction tx(db);
    for (int n = 0; n < SharedGoods; ++n)
        db.insert(QStringLiteral("sp"), {{QStringLiteral("ck"), Warehouse},
                                         {QStringLiteral("lb"), QStringLiteral("瓷砖")},
                                         {QStringLiteral("ppgg"), QStringLiteral("商品") + goodsCode(n)},
                                         {QStringLiteral("txm"), goodsCode(n)},
                                         {QStringLiteral("dw"), QStringLiteral("件")},
                                         {QStringLiteral("kcsl"), StartQuantity * 10000},
                                         {QStringLiteral("kcjg"), UnitCost * 10000},
                                         {QStringLiteral("kcje"), StartQuantity * UnitCost * 10000}});
    tx.commit();
}

// Empties the documents and ledgers and puts the goods rows back at their start.
void resetBook(const QString &conninfo)
{
    Database db(BookLocation::postgres(conninfo));
    db.open();
    for (const char *t : {"cgglz", "cgglc", "xsglz", "xsglc", "cgfx", "xsfx", "fkfx", "skfx", "czrz"})
        db.exec(QStringLiteral("DELETE FROM ") + QLatin1String(t));
    db.exec(QStringLiteral("UPDATE sp SET kcsl = ?, kcjg = ?, kcje = ?"),
            {StartQuantity * 10000, UnitCost * 10000, StartQuantity * UnitCost * 10000});
}

struct Run {
    double wallMs = 0;
    std::vector<double> approvalMs;
    int errors = 0;
};

QProcess *startWorker(const QStringList &args)
{
    auto *p = new QProcess;
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QCoreApplication::applicationFilePath(), args);
    if (!p->waitForStarted()) throw std::runtime_error("cannot start a counter process");
    return p;
}

// `counters` processes sharing the documents between them, and the reader beside them.
Run runCounters(const QString &conninfo, int counters, int docsEach, bool withReader)
{
    Run r;
    QProcess *reader = withReader ? startWorker({QString::fromLatin1(ReaderArg), conninfo}) : nullptr;
    std::vector<QProcess *> procs;
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < counters; ++c)
        procs.push_back(startWorker({QString::fromLatin1(WorkerArg), conninfo, QString::number(c), QString::number(docsEach)}));
    for (QProcess *p : procs) {
        p->waitForFinished(-1);
        for (const QByteArray &line : p->readAllStandardOutput().split('\n')) {
            if (line.startsWith("errors ")) r.errors += line.mid(7).toInt();
            else if (!line.isEmpty()) r.approvalMs.push_back(line.toDouble());
        }
        if (p->exitCode() != 0) ++r.errors;
        delete p;
    }
    r.wallMs = double(clock.nsecsElapsed()) / 1e6;
    if (reader) {
        reader->kill();
        reader->waitForFinished();
        delete reader;
    }
    return r;
}

double percentile95(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(double(v.size()) * 0.95))];
}

struct BookCheck {
    int lost = 0, duplicates = 0, debts = 0;
};

// Every goods row at its start plus its ledger rows; every number once; qk = payable − paid.
BookCheck checkBook(const QString &conninfo)
{
    Database db(BookLocation::postgres(conninfo));
    db.open();
    BookCheck c;
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT sp.kcsl, sp.kcje, "
        " COALESCE((SELECT SUM(sl) FROM cgfx f WHERE f.ck = sp.ck AND f.txm = sp.txm AND f.ppgg = sp.ppgg AND f.dw = sp.dw), 0), "
        " COALESCE((SELECT SUM(je) FROM cgfx f WHERE f.ck = sp.ck AND f.txm = sp.txm AND f.ppgg = sp.ppgg AND f.dw = sp.dw), 0), "
        " COALESCE((SELECT SUM(sl) FROM xsfx f WHERE f.ck = sp.ck AND f.txm = sp.txm AND f.ppgg = sp.ppgg AND f.dw = sp.dw), 0), "
        " COALESCE((SELECT SUM(cbje) FROM xsfx f WHERE f.ck = sp.ck AND f.txm = sp.txm AND f.ppgg = sp.ppgg AND f.dw = sp.dw), 0) "
        "FROM sp"));
    int rows = 0;
    while (q.next()) {
        ++rows;
        const qint64 kcsl = q.value(0).toLongLong(), kcje = q.value(1).toLongLong();
        const qint64 in = q.value(2).toLongLong(), inValue = q.value(3).toLongLong();
        const qint64 out = q.value(4).toLongLong(), outValue = q.value(5).toLongLong();
        if (kcsl != StartQuantity * 10000 + in - out || kcje != StartQuantity * UnitCost * 10000 + inValue - outValue) ++c.lost;
    }
    c.lost += SharedGoods - rows;   // a row made twice, or gone
    for (const char *t : {"cgglz", "xsglz"}) {
        QSqlQuery d = db.exec(QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT dh) FROM %1").arg(QLatin1String(t)));
        if (d.next()) c.duplicates += d.value(0).toInt();
    }
    for (const auto &[table, payable, paid] : {std::tuple{"cgglz", "yfe", "sfe"}, std::tuple{"xsglz", "yse", "sse"}}) {
        QSqlQuery d = db.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE qk <> %2 - %3")
                                  .arg(QLatin1String(table), QLatin1String(payable), QLatin1String(paid)));
        if (d.next()) c.debts += d.value(0).toInt();
    }
    return c;
}

void counters(const bench::Options &o)
{
    std::unique_ptr<ThrowawayServer> own;
    QString conninfo = qEnvironmentVariable("MARVODA_BENCH_PG");
    if (conninfo.isEmpty()) {
        own = std::make_unique<ThrowawayServer>();
        conninfo = own->conninfo();
    }
    const int docs = std::max(1, int(Documents * o.scale));
    makeBook(conninfo);
    // The bound: one counter alone doing all four counters' documents.
    const Run alone = runCounters(conninfo, 1, docs * Counters, false);
    resetBook(conninfo);
    const Run load = runCounters(conninfo, Counters, docs, true);
    const BookCheck check = checkBook(conninfo);

    const double approvals = double(Counters * docs);
    const double ours = load.wallMs / approvals, bound = alone.wallMs / approvals;
    std::printf("counters: %d x %d approvals, %d lines, %d shared goods, per approval ours %.1f ms bound %.1f ms "
                "ratio %.2f lost %d duplicates %d errors %d\n",
                Counters, docs, Lines, SharedGoods, ours, bound, bound > 0 ? ours / bound : 0.0, check.lost,
                check.duplicates, load.errors + alone.errors);
    const double p95 = percentile95(load.approvalMs), p95Alone = percentile95(alone.approvalMs);
    std::printf("counters: slowest 5%% of approvals ours %.1f ms bound %.1f ms ratio %.2f\n", p95, p95Alone,
                p95Alone > 0 ? p95 / p95Alone : 0.0);
    if (check.debts > 0) std::printf("counters: %d documents whose qk is not payable minus paid\n", check.debts);
    std::fflush(stdout);
}

} // namespace

namespace bench {

int runWorker(int argc, char **argv)
{
    if (argc < 3) return -1;
    const QString conninfo = QString::fromLocal8Bit(argv[2]);
    try {
        if (std::strcmp(argv[1], WorkerArg) == 0 && argc == 5) return counterWorker(conninfo, std::atoi(argv[3]), std::atoi(argv[4]));
        if (std::strcmp(argv[1], ReaderArg) == 0) return readerWorker(conninfo);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return -1;
}

} // namespace bench

MARVODA_BENCH("counters", counters)
