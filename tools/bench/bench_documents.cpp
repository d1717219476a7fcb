// Approving and un-approving a 200-line purchase or sale on a book of 100,000 goods rows and
// 1,000,000 rows in its ledger, against the same statements sent through the raw sqlite3 API in one
// transaction (the bound a posting cannot beat: one fsync'd commit of the same writes).
#include "bench.h"
#include "bench_book.h"

#include "app/data/dm1.h"
#include "app/session.h"
#include "documents/document_numbering.h"
#include "documents/document_service.h"

#include <QSqlQuery>

#include <sqlite3.h>

#include <random>
#include <stdexcept>

namespace {

struct Goods {
    QString txm, ppgg, dw;
};

// What differs between a purchase and a sale for the bench: its kind and the raw statements of
// the same writes.
struct Trade {
    DocType type;
    const char *name;
    const char *ledgerFill;   // rq, dh, ck, party, jsr, txm, ppgg, dw, sl, jg, zk, je
    const char *header, *lines, *ledger, *money;
};

const Trade Purchase{
    DocType::Purchase, "purchase",
    "INSERT INTO cgfx (rq, dh, ck, ghs, jsr, txm, ppgg, dw, sl, jg, zk, je) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
    "INSERT INTO cgglz (dh, kdrq, shbj, zhidan, rq, ck, ghs, hjsl, hjje, yhe, yfe, sfe, qk, jsr, bz) "
    "VALUES (?,'2026-01-01','已审核','x','2026-01-01','仓库1','厂商',1,1,0,1,1,0,'员工','')",
    "UPDATE cgglc SET bj = 'yz', dh = ? WHERE dh = ?",
    "INSERT INTO cgfx (rq, dh, ck, jsr, txm, ppgg, dw, sl, jg, je, ghs, zk) "
    "VALUES ('2026-01-01',?,'仓库1','员工',?,?,?,10000,50000,50000,'厂商',10000)",
    "INSERT INTO fkfx (shbj, rq, dh, ghs, je, jsr, bz) VALUES ('已审核','2026-01-01',?,'厂商',1,'员工','')"};

const Trade Sale{
    DocType::Retail, "sale",
    "INSERT INTO xsfx (rq, dh, ck, kh, jsr, txm, ppgg, dw, sl, jg, zk, je) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
    "INSERT INTO xsglz (dh, kdrq, shbj, zhidan, rq, ck, kh, hjsl, hjje, yhe, yse, sse, qk, jsr, bz) "
    "VALUES (?,'2026-01-01','已审核','x','2026-01-01','仓库1','客户',1,1,0,1,1,0,'员工','')",
    "UPDATE xsglc SET bj = 'yz', dh = ? WHERE dh = ?",
    "INSERT INTO xsfx (rq, dh, ck, jsr, txm, ppgg, dw, sl, jg, je, kh, zk, cbjg, cbje, maoli) "
    "VALUES ('2026-01-01',?,'仓库1','员工',?,?,?,10000,50000,50000,'客户',10000,40000,40000,10000)",
    "INSERT INTO skfx (shbj, rq, dh, kh, je, jsr, bz) VALUES ('已审核','2026-01-01',?,'客户',1,'员工','')"};

void fillLedger(Database &db, const Trade &trade, int rows)
{
    std::mt19937 rnd(99);
    Transaction tx(db);
    QSqlQuery q = db.prepare(QString::fromUtf8(trade.ledgerFill));
    const QDate start = QDate::currentDate().addYears(-7);
    for (int n = 0; n < rows; ++n) {
        const QDate d = start.addDays(n / 400);
        q.bindValue(0, dateText(d));
        q.bindValue(1, QStringLiteral("%1%2%3")
                           .arg(documentKind(trade.type).prefix, d.toString(QStringLiteral("yyyyMMdd")))
                           .arg(n % 20 + 1, 3, 10, QChar('0')));
        q.bindValue(2, bench::warehouseName(int(rnd() % 10)));
        q.bindValue(3, QStringLiteral("伙伴%1").arg(rnd() % 300));
        q.bindValue(4, QStringLiteral("员工%1").arg(rnd() % 20));
        q.bindValue(5, bench::goodsCode(int(rnd() % 100000)));
        q.bindValue(6, QStringLiteral("商品"));
        q.bindValue(7, QStringLiteral("根"));
        q.bindValue(8, qint64(10000));
        q.bindValue(9, qint64(50000));
        q.bindValue(10, qint64(10000));
        q.bindValue(11, qint64(50000));
        Database::run(q);
    }
    tx.commit();
}

void exec(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
}

// The approval's writes through the raw API: header, lines committed, per line a ledger row and
// the goods row read and written, the money row and the log row, in one immediate transaction.
double rawApproveMs(const QString &file, const Trade &trade, const std::vector<Goods> &goods, int runs)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    exec(db, "PRAGMA synchronous=FULL");
    auto prep = [&](const char *sql) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
        return st;
    };
    sqlite3_stmt *header = prep(trade.header);
    sqlite3_stmt *lines = prep(trade.lines);
    sqlite3_stmt *ledger = prep(trade.ledger);
    sqlite3_stmt *find = prep("SELECT id, kcsl, kcjg, kcje FROM sp WHERE ck = '仓库1' AND ppgg = ? AND txm = ? AND dw = ? ORDER BY id LIMIT 1");
    sqlite3_stmt *update = prep("UPDATE sp SET kcsl = ?, kcjg = ?, kcje = ? WHERE id = ?");
    sqlite3_stmt *money = prep(trade.money);
    sqlite3_stmt *log = prep("INSERT INTO czrz (sj, czy, cz, dh, nr) VALUES ('2026-01-01 00:00:00','x','结单',?,'')");
    auto text = [](sqlite3_stmt *st, int i, const QString &s) {
        const QByteArray b = s.toUtf8();
        sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    };
    auto step = [](sqlite3_stmt *st) {
        while (sqlite3_step(st) == SQLITE_ROW) {}
        sqlite3_reset(st);
    };
    int n = 0;
    const double ms = bench::medianMs(runs, [&] {
        const QString dh = QStringLiteral("RAW%1").arg(++n);
        exec(db, "BEGIN IMMEDIATE");
        text(header, 1, dh);
        step(header);
        text(lines, 1, dh);
        text(lines, 2, dh);
        step(lines);
        for (const Goods &g : goods) {
            text(ledger, 1, dh);
            text(ledger, 2, g.txm);
            text(ledger, 3, g.ppgg);
            text(ledger, 4, g.dw);
            step(ledger);
            text(find, 1, g.ppgg);
            text(find, 2, g.txm);
            text(find, 3, g.dw);
            if (sqlite3_step(find) == SQLITE_ROW) {
                sqlite3_bind_int64(update, 1, sqlite3_column_int64(find, 1) + 10000);
                sqlite3_bind_int64(update, 2, sqlite3_column_int64(find, 2));
                sqlite3_bind_int64(update, 3, sqlite3_column_int64(find, 3) + 50000);
                sqlite3_bind_int64(update, 4, sqlite3_column_int64(find, 0));
                sqlite3_reset(find);
                step(update);
            } else {
                sqlite3_reset(find);
            }
        }
        text(money, 1, dh);
        step(money);
        text(log, 1, dh);
        step(log);
        exec(db, "COMMIT");
    });
    for (sqlite3_stmt *st : {header, lines, ledger, find, update, money, log}) sqlite3_finalize(st);
    sqlite3_close(db);
    return ms;
}

void approve(const bench::Options &o, const Trade &trade)
{
    const QString file = bench::makeGoodsBook(o.workDir, int(100000 * o.scale), 10);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    Database &db = dm.db();
    fillLedger(db, trade, int(1000000 * o.scale));
    session::current().stYhm1 = QStringLiteral("系统管理员");

    // The raw statements post to 仓库1: so do ours, on its goods rows.
    std::vector<Goods> goods;
    QSqlQuery q = db.exec(QStringLiteral("SELECT txm, ppgg, dw FROM sp WHERE ck = ? ORDER BY id LIMIT 200"),
                          {bench::warehouseName(0)});
    while (q.next()) goods.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});

    const DocumentKind &kind = documentKind(trade.type);
    DocumentService service(db, kind);
    const QDate today = QDate::currentDate();
    constexpr int Runs = 15;
    // Each run approves a fresh document whose 200 lines were entered beforehand (not timed).
    std::vector<QString> approved;
    std::vector<std::unique_ptr<LineBuffer>> buffers;
    auto prepare = [&] {
        auto lines = std::make_unique<LineBuffer>(db, kind);
        lines->startNew(DocumentNumbering::next(db, kind, today).dh);
        for (const Goods &g : goods) {
            DocumentLine l;
            l.txm = g.txm;
            l.ppgg = g.ppgg;
            l.dw = g.dw;
            l.sl = 1;
            l.jg = 5;
            l.cbjg = 4;
            l.recompute(kind.salesLines);
            lines->add(l);
        }
        buffers.push_back(std::move(lines));
    };
    for (int i = 0; i < Runs; ++i) prepare();
    size_t next = 0;
    const double ours = bench::medianMs(Runs, [&] {
        LineBuffer &lines = *buffers[next++];
        DocumentHeader h;
        h.rq = dateText(today);
        h.setField(QStringLiteral("ck"), bench::warehouseName(0));
        h.setField(kind.partyColumn, QStringLiteral("伙伴"));
        h.jsr = QStringLiteral("员工");
        h.payable = h.paid = lines.totals().hjje;
        approved.push_back(service.save(h, lines, true, today));
    });
    size_t back = 0;
    const double undo = bench::medianMs(Runs, [&] { service.unapprove(approved[back++]); });
    dm.db().disconnect();
    const double raw = rawApproveMs(file, trade, goods, Runs);
    const QString name = QString::fromLatin1(trade.name);
    bench::report(QStringLiteral("approve 200-line %1").arg(name), ours, raw, QStringLiteral("< 50 ms, ratio <= 3"));
    bench::report(QStringLiteral("un-approve 200-line %1").arg(name), undo, raw, QStringLiteral("< 50 ms"));
}

void approvePurchase(const bench::Options &o) { approve(o, Purchase); }
void approveSale(const bench::Options &o) { approve(o, Sale); }

} // namespace

MARVODA_BENCH("approve purchase", approvePurchase)
MARVODA_BENCH("approve sale", approveSale)
