// Approving and un-approving a 200-line purchase, sale and transfer on a book of 100,000
// goods rows and 1,000,000 purchase ledger rows, against the same statements sent through the
// raw sqlite3 API in one transaction (the bound a posting cannot beat: one fsync'd commit of the
// same writes).
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

void fillLedger(Database &db, int rows)
{
    std::mt19937 rnd(99);
    Transaction tx(db);
    QSqlQuery q = db.prepare(QStringLiteral(
        "INSERT INTO cgfx (rq, dh, ck, ghs, jsr, txm, ppgg, dw, sl, jg, zk, je) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QDate start = QDate::currentDate().addYears(-7);
    for (int n = 0; n < rows; ++n) {
        const QDate d = start.addDays(n / 400);
        q.bindValue(0, dateText(d));
        q.bindValue(1, QStringLiteral("CG%1%2").arg(d.toString(QStringLiteral("yyyyMMdd"))).arg(n % 20 + 1, 3, 10, QChar('0')));
        q.bindValue(2, bench::warehouseName(int(rnd() % 10)));
        q.bindValue(3, QStringLiteral("厂商%1").arg(rnd() % 300));
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

// The statements of one kind's approval: the header, the lines committed, per line and per
// warehouse a ledger row (bound: dh, ck, txm, ppgg, dw), the money row (if any).
struct RawPosting {
    const char *header, *lines, *ledger, *money;
    std::vector<QString> warehouses;
};

RawPosting rawPurchase()
{
    return {"INSERT INTO cgglz (dh, kdrq, shbj, zhidan, rq, ck, ghs, hjsl, hjje, yhe, yfe, sfe, qk, jsr, bz) "
            "VALUES (?,'2026-01-01','已审核','x','2026-01-01','仓库1','厂商',1,1,0,1,1,0,'员工','')",
            "UPDATE cgglc SET bj = 'yz', dh = ? WHERE dh = ?",
            "INSERT INTO cgfx (rq, dh, ck, jsr, txm, ppgg, dw, sl, jg, je, ghs, zk) "
            "VALUES ('2026-01-01',?,?,'员工',?,?,?,10000,50000,50000,'厂商',10000)",
            "INSERT INTO fkfx (shbj, rq, dh, ghs, je, jsr, bz) VALUES ('已审核','2026-01-01',?,'厂商',1,'员工','')",
            {bench::warehouseName(1)}};
}

// A sale: its header, lines and ledger carry the cost columns; the money row is a collection.
RawPosting rawSale()
{
    return {"INSERT INTO xsglz (dh, kdrq, shbj, zhidan, rq, ck, kh, hjsl, hjje, yhe, yse, sse, qk, jsr, bz) "
            "VALUES (?,'2026-01-01','已审核','x','2026-01-01','仓库1','伙伴',1,1,0,1,1,0,'员工','')",
            "UPDATE xsglc SET bj = 'yz', dh = ? WHERE dh = ?",
            "INSERT INTO xsfx (rq, dh, ck, jsr, txm, ppgg, dw, sl, jg, je, kh, zk, cbjg, cbje, maoli) "
            "VALUES ('2026-01-01',?,?,'员工',?,?,?,10000,50000,50000,'伙伴',10000,40000,40000,10000)",
            "INSERT INTO skfx (shbj, rq, dh, kh, je, jsr, bz) VALUES ('已审核','2026-01-01',?,'伙伴',1,'员工','')",
            {bench::warehouseName(1)}};
}

// A transfer writes two ledger rows and two goods rows per line, and no money.
RawPosting rawTransfer()
{
    return {"INSERT INTO dbglz (dh, kdrq, shbj, zhidan, rq, ck1, ck2, hjsl, hjje, jsr, bz) "
            "VALUES (?,'2026-01-01','已审核','x','2026-01-01','仓库1','仓库2',1,1,'员工','')",
            "UPDATE dbglc SET bj = 'yz', dh = ? WHERE dh = ?",
            "INSERT INTO rkfx (rq, dh, ck, lx, jsr, txm, ppgg, dw, sl, jg, je) "
            "VALUES ('2026-01-01',?,?,'库存调出','员工',?,?,?,10000,50000,50000)",
            nullptr,
            {bench::warehouseName(1), bench::warehouseName(2)}};
}

// The approval's writes through the raw API: header, lines committed, per line and warehouse a
// ledger row and the goods row read and written, the money row and the log row, in one
// immediate transaction.
double rawApproveMs(const QString &file, const std::vector<Goods> &goods, int runs, const RawPosting &p)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    exec(db, "PRAGMA synchronous=FULL");
    auto prep = [&](const char *sql) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
        return st;
    };
    sqlite3_stmt *header = prep(p.header);
    sqlite3_stmt *lines = prep(p.lines);
    sqlite3_stmt *ledger = prep(p.ledger);
    sqlite3_stmt *find = prep("SELECT id, kcsl, kcjg, kcje FROM sp WHERE ck = ? AND ppgg = ? AND txm = ? AND dw = ? ORDER BY id LIMIT 1");
    sqlite3_stmt *update = prep("UPDATE sp SET kcsl = ?, kcjg = ?, kcje = ? WHERE id = ?");
    sqlite3_stmt *money = p.money ? prep(p.money) : nullptr;
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
            for (const QString &ck : p.warehouses) {
                text(ledger, 1, dh);
                text(ledger, 2, ck);
                text(ledger, 3, g.txm);
                text(ledger, 4, g.ppgg);
                text(ledger, 5, g.dw);
                step(ledger);
                text(find, 1, ck);
                text(find, 2, g.ppgg);
                text(find, 3, g.txm);
                text(find, 4, g.dw);
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
        }
        if (money) {
            text(money, 1, dh);
            step(money);
        }
        text(log, 1, dh);
        step(log);
        exec(db, "COMMIT");
    });
    for (sqlite3_stmt *st : {header, lines, ledger, find, update, money, log}) sqlite3_finalize(st);   // a null one is a no-op
    sqlite3_close(db);
    return ms;
}

// One kind's 200-line approval and un-approval, timed against its raw statements.
void approveDocument(const bench::Options &o, DocType type, const RawPosting &raw, const QString &name, const QString &goal)
{
    const QString file = bench::makeGoodsBook(o.workDir, int(100000 * o.scale), 10);
    DM1 dm(BookLocation::sqlite(file));
    dm.open();
    Database &db = dm.db();
    fillLedger(db, int(1000000 * o.scale));
    session::current().stYhm1 = QStringLiteral("系统管理员");

    std::vector<Goods> goods;
    QSqlQuery q = db.exec(QStringLiteral("SELECT txm, ppgg, dw FROM sp WHERE ck = ? ORDER BY id LIMIT 200"),
                          {bench::warehouseName(1)});
    while (q.next()) goods.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});

    const DocumentKind &kind = documentKind(type);
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
            l.recompute(false);
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
        for (int i = 0; i < kind.movements.size(); ++i) h.setField(kind.movements[i].warehouseColumn, raw.warehouses[size_t(i)]);
        if (!kind.partyColumn.isEmpty()) h.setField(kind.partyColumn, QStringLiteral("厂商"));
        h.jsr = QStringLiteral("员工");
        h.payable = h.paid = lines.totals().hjje;
        approved.push_back(service.save(h, lines, true, today));
    });
    size_t back = 0;
    const double undo = bench::medianMs(Runs, [&] { service.unapprove(approved[back++]); });
    dm.db().disconnect();
    const double rawMs = rawApproveMs(file, goods, Runs, raw);
    bench::report(QStringLiteral("approve 200-line ") + name, ours, rawMs, goal + QStringLiteral(", ratio <= 3"));
    bench::report(QStringLiteral("un-approve 200-line ") + name, undo, rawMs, goal);
}

void approvePurchase(const bench::Options &o)
{
    approveDocument(o, DocType::Purchase, rawPurchase(), QStringLiteral("purchase"), QStringLiteral("< 50 ms"));
}

void approveSale(const bench::Options &o)
{
    approveDocument(o, DocType::Retail, rawSale(), QStringLiteral("sale"), QStringLiteral("< 50 ms"));
}

void approveTransfer(const bench::Options &o)
{
    approveDocument(o, DocType::Transfer, rawTransfer(), QStringLiteral("transfer"), QStringLiteral("< 80 ms"));
}

} // namespace

MARVODA_BENCH("approve purchase", approvePurchase)
MARVODA_BENCH("approve sale", approveSale)
MARVODA_BENCH("approve transfer", approveTransfer)
