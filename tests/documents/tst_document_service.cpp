#include "app/session.h"
#include "document_fixture.h"
#include "documents/document_numbering.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

namespace {
const QDate Today(2024, 3, 5);
const DocumentKind &purchase() { return documentKind(DocType::Purchase); }
const DocumentKind &retail() { return documentKind(DocType::Retail); }
const DocumentKind &transfer() { return documentKind(DocType::Transfer); }
const DocumentKind &adjustment() { return documentKind(DocType::Adjustment); }

QString newNumber(Database &db, const DocumentKind &k) { return DocumentNumbering::next(db, k, Today).dh; }
} // namespace

class TestDocumentService : public QObject {
    Q_OBJECT
private slots:
    void init() { session::current().stYhm1 = "系统管理员"; }

    void approvingAPurchasePostsStockLedgerAndMoney()
    {
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "A1", "10", "4", "40");
        LineBuffer lines(db, purchase());
        lines.startNew(newNumber(db, purchase()));
        lines.add(line("A1", "10", "5"));
        const QString dh = DocumentService(db, purchase()).save(headerFor(purchase(), lines, "一号库"), lines, true, Today);
        QCOMPARE(dh, "CG20240305001");
        QCOMPARE(stockOf(db, "一号库", "A1"), "20 4.50 90.00");
        QSqlQuery h = db.exec("SELECT hjje, yfe, sfe, qk, shbj, kdrq, zhidan FROM cgglz WHERE dh = ?", {dh});
        QVERIFY(h.next());
        QCOMPARE(Decimal::fromRaw(h.value(0).toLongLong()).toPlain(), "50");
        QCOMPARE(Decimal::fromRaw(h.value(2).toLongLong()).toPlain(), "50");
        QCOMPARE(Decimal::fromRaw(h.value(3).toLongLong()).toPlain(), "0");
        QCOMPARE(h.value(4).toString(), "已审核");
        QCOMPARE(h.value(5).toString(), "2024-03-05");
        QCOMPARE(h.value(6).toString(), "系统管理员");
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgfx WHERE dh = ? AND ghs = ? AND je = ?", {dh, "宏达建材", dec("50").raw()}), 1);
        QCOMPARE(countRows(db, "SELECT count(*) FROM fkfx WHERE dh = ? AND je = ? AND shbj = '已审核'", {dh, dec("50").raw()}), 1);
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE dh = ? AND bj = 'yz'", {dh}), 1);
        QCOMPARE(countRows(db, "SELECT count(*) FROM czrz WHERE dh = ? AND cz = '结单'", {dh}), 1);

        // Un-approval gives the stock back and removes ledger and money rows, later payments too.
        db.insert("fkfx", {{"dh", dh}, {"je", dec("5").raw()}, {"shbj", "已审核"}});
        DocumentService service(db, purchase());
        QCOMPARE(service.unapprove(dh), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgfx"), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM fkfx"), 0);
        QCOMPARE(service.header(dh)->shbj, "未审核");
        QCOMPARE(service.header(dh)->paid.toPlain(), "50");   // paid and debt stay as they were
        QCOMPARE(service.unapprove(dh), DocumentService::Outcome::AlreadyNotApproved);
        QCOMPARE(stockOf(db, "一号库", "A1"), "10 4.00 40.00");
    }

    void nothingPaidWritesNoMoneyRow()
    {
        TestBook book;
        Database &db = book.db();
        LineBuffer lines(db, purchase());
        lines.startNew(newNumber(db, purchase()));
        lines.add(line("N1", "10", "5"));
        const QString dh = DocumentService(db, purchase()).save(headerFor(purchase(), lines, "二号库", "0"), lines, true, Today);
        QCOMPARE(countRows(db, "SELECT count(*) FROM fkfx"), 0);
        QCOMPARE(DocumentService(db, purchase()).header(dh)->qk.toPlain(), "50");
        // Goods the warehouse did not hold: a new row in "未知" at the line's price.
        QCOMPARE(stockOf(db, "二号库", "N1"), "10 5.00 50.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM sp WHERE lb = '未知'"), 1);
    }

    void salesPostAtTheRowsOwnCost()
    {
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "S1", "20", "4.5", "90");
        addGoods(db, "二号库", "S1", "5", "3", "15");
        LineBuffer lines(db, retail());
        lines.startNew(newNumber(db, retail()));
        lines.add(line("S1", "3", "10", "6.5"));
        lines.add(line("S9", "2", "10", "3.2"));   // not held: a row of -2 at its unit cost
        DocumentHeader h = headerFor(retail(), lines, "一号库");
        h.setField("kh", "路人甲");   // typed by hand, not a customer of the book
        DocumentService service(db, retail());
        const QString dh = service.save(h, lines, true, Today);
        QCOMPARE(stockOf(db, "一号库", "S1"), "17 4.50 76.50");
        QCOMPARE(stockOf(db, "二号库", "S1"), "5 3.00 15.00");
        QCOMPARE(stockOf(db, "一号库", "S9"), "-2 3.20 -6.40");
        QSqlQuery q = db.exec("SELECT je, cbje, maoli, kh FROM xsfx WHERE dh = ? AND txm = 'S1'", {dh});
        QVERIFY(q.next());
        QCOMPARE(Decimal::fromRaw(q.value(0).toLongLong()).toFixed2(), "30.00");
        QCOMPARE(Decimal::fromRaw(q.value(1).toLongLong()).toFixed2(), "19.50");
        QCOMPARE(Decimal::fromRaw(q.value(2).toLongLong()).toFixed2(), "10.50");
        QCOMPARE(q.value(3).toString(), "路人甲");
        QCOMPARE(countRows(db, "SELECT count(*) FROM kh"), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM skfx WHERE dh = ? AND kh = '路人甲'", {dh}), 1);

        QCOMPARE(service.unapprove(dh), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "S1"), "20 4.50 90.00");
        QCOMPARE(stockOf(db, "二号库", "S1"), "5 3.00 15.00");
        QCOMPARE(stockOf(db, "一号库", "S9"), "0 3.20 0.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM xsfx"), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM skfx"), 0);
    }

    void transfersAndAdjustmentsMoveAtFixedCost()
    {
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "T1", "20", "5", "100");
        addGoods(db, "二号库", "T1", "0", "6", "0");
        LineBuffer lines(db, transfer());
        lines.startNew(newNumber(db, transfer()));
        lines.add(line("T1", "10", "5"));
        lines.add(line("T2", "4", "2.5"));   // the source holds no T2
        DocumentHeader h = headerFor(transfer(), lines, "一号库");
        h.setField("ck2", "二号库");
        DocumentService service(db, transfer());
        const QString dh = service.save(h, lines, true, Today);
        QCOMPARE(dh, "DB20240305001");
        QCOMPARE(stockOf(db, "一号库", "T1"), "10 5.00 50.00");
        QCOMPARE(stockOf(db, "二号库", "T1"), "10 6.00 60.00");
        QCOMPARE(stockOf(db, "一号库", "T2"), "-4 2.50 -10.00");
        QCOMPARE(stockOf(db, "二号库", "T2"), "4 2.50 10.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx WHERE dh = ? AND lx = '库存调出' AND ck = '一号库'", {dh}), 2);
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx WHERE dh = ? AND lx = '库存调入' AND ck = '二号库' AND sl = ?",
                           {dh, dec("10").raw()}), 1);

        // The target row was deleted meanwhile: un-approval makes it again, below zero.
        db.exec("DELETE FROM sp WHERE ck = '二号库' AND txm = 'T2'");
        QCOMPARE(service.unapprove(dh), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "T1"), "20 5.00 100.00");
        QCOMPARE(stockOf(db, "二号库", "T1"), "0 6.00 0.00");
        QCOMPARE(stockOf(db, "二号库", "T2"), "-4 2.50 -10.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx"), 0);

        // Source equal to target: two ledger rows, quantity unchanged.
        LineBuffer same(db, transfer());
        same.startNew(newNumber(db, transfer()));
        same.add(line("T1", "5", "9"));
        h = headerFor(transfer(), same, "一号库");
        service.save(h, same, true, Today);
        QCOMPARE(stockOf(db, "一号库", "T1"), "20 5.00 100.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx WHERE dh = ?", {same.number()}), 2);

        // An adjustment carries its reason into the ledger.
        addGoods(db, "三号库", "J1", "10", "7.5", "75");
        LineBuffer adj(db, adjustment());
        adj.startNew(newNumber(db, adjustment()));
        adj.add(line("J1", "-3", "7.5"));
        adj.add(line("J1", "2", "9"));
        const QString yd = DocumentService(db, adjustment()).save(headerFor(adjustment(), adj, "三号库"), adj, true, Today);
        QCOMPARE(stockOf(db, "三号库", "J1"), "9 7.50 67.50");
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx WHERE dh = ? AND lx = '盘盈'", {yd}), 2);
    }

    void aDocumentMovesEachGoodsRowInLineOrder()
    {
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "A1", "10", "4", "40");
        addGoods(db, "一号库", "D1", "5", "2", "10");
        const qint64 secondD1 = addGoods(db, "一号库", "D1", "7", "3", "21");   // held twice: the first row moves
        DocumentService service(db, purchase());
        LineBuffer lines(db, purchase());
        lines.startNew(newNumber(db, purchase()));
        lines.add(line("A1", "10", "5"));
        lines.add(line("N1", "2", "3"));   // not held: made by this line, moved by the next one
        lines.add(line("A1", "10", "6"));
        lines.add(line("N1", "2", "5"));
        lines.add(line("D1", "5", "4"));
        const QString dh = service.save(headerFor(purchase(), lines, "一号库"), lines, true, Today);
        QCOMPARE(stockOf(db, "一号库", "A1"), "30 5.00 150.00");
        QCOMPARE(stockOf(db, "一号库", "N1"), "4 4.00 16.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM sp WHERE txm = 'N1'"), 1);
        QCOMPARE(stockOf(db, "一号库", "D1"), "10 3.00 30.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM sp WHERE id = ? AND kcsl = ?", {secondD1, dec("7").raw()}), 1);

        QCOMPARE(service.unapprove(dh), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(stockOf(db, "一号库", "N1"), "0 5.00 0.00");
        QCOMPARE(stockOf(db, "一号库", "D1"), "5 2.00 10.00");

        // More goods than one statement takes: every row moves once.
        constexpr int Many = 1100;
        LineBuffer big(db, purchase());
        big.startNew(newNumber(db, purchase()));
        for (int i = 0; i < Many; ++i) {
            const QString txm = QStringLiteral("G%1").arg(i, 4, 10, QChar(u'0'));
            if (i % 2 == 0) addGoods(db, "二号库", txm, "1", "2", "2");
            big.add(line(txm, "1", "4"));
        }
        service.save(headerFor(purchase(), big, "二号库"), big, true, Today);
        QCOMPARE(countRows(db, "SELECT count(*) FROM sp WHERE ck = '二号库' AND kcsl = ? AND kcje = ?",
                           {dec("2").raw(), dec("6").raw()}), Many / 2);
        QCOMPARE(countRows(db, "SELECT count(*) FROM sp WHERE ck = '二号库' AND kcsl = ? AND kcje = ?",
                           {dec("1").raw(), dec("4").raw()}), Many / 2);
        QCOMPARE(countRows(db, "SELECT count(*) FROM sp WHERE ck = '二号库'"), Many);
    }

    void deletingAnApprovedDocumentReversesItFirst()
    {
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "A1", "10", "4", "40");
        DocumentService service(db, purchase());
        LineBuffer lines(db, purchase());
        lines.startNew(newNumber(db, purchase()));
        lines.add(line("A1", "10", "5"));
        const QString approved = service.save(headerFor(purchase(), lines, "一号库"), lines, true, Today);
        lines.startNew(newNumber(db, purchase()));
        lines.add(line("A1", "1", "1"));
        const QString held = service.save(headerFor(purchase(), lines, "一号库"), lines, false, Today);
        QCOMPARE(held, "CG20240305002");
        QCOMPARE(stockOf(db, "一号库", "A1"), "20 4.50 90.00");   // holding moves nothing

        QCOMPARE(service.remove(approved), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgfx"), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM fkfx"), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE dh = ?", {approved}), 0);
        QCOMPARE(service.remove(held), DocumentService::Outcome::Done);
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglz"), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc"), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM czrz WHERE cz = '删除'"), 2);
        QCOMPARE(service.remove(held), DocumentService::Outcome::Missing);
    }

    void unapprovingLeavesAnotherCountersPendingLinesAlone()
    {
        TestBook book;
        Database &db = book.db();
        addGoods(db, "一号库", "A1", "10", "4", "40");
        DocumentService service(db, purchase());
        // Two counters are shown the same number; one approves while the other is still entering.
        LineBuffer mine(db, purchase()), theirs(db, purchase());
        mine.startNew(newNumber(db, purchase()));
        theirs.startNew(mine.number());
        mine.add(line("A1", "10", "5"));
        theirs.add(line("A1", "7", "5"));
        const QString approved = service.save(headerFor(purchase(), mine, "一号库"), mine, true, Today);
        QCOMPARE(approved, theirs.number());
        QCOMPARE(stockOf(db, "一号库", "A1"), "20 4.50 90.00");

        QCOMPARE(service.unapprove(approved), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(service.remove(approved), DocumentService::Outcome::Done);
        QCOMPARE(stockOf(db, "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE bj = 'dz'"), 1);
        // Their document is saved whole.
        const QString second = service.save(headerFor(purchase(), theirs, "一号库"), theirs, true, Today);
        QCOMPARE(loadDocumentLines(db, purchase(), second).size(), 1);
        QCOMPARE(stockOf(db, "一号库", "A1"), "17 4.41 75.00");
    }

    void theBufferKeepsToItsOwnDocument()
    {
        TestBook book;
        Database &db = book.db();
        DocumentService service(db, purchase());
        LineBuffer first(db, purchase());
        first.startNew(newNumber(db, purchase()));
        first.add(line("A1", "1", "1"));
        first.add(line("A2", "2", "1"));
        const QString held = service.save(headerFor(purchase(), first, "一号库"), first, false, Today);

        // Taking it up, deleting a line and closing without saving: the line is still there.
        LineBuffer edit(db, purchase());
        edit.takeUp(held);
        QCOMPARE(edit.lines().size(), 2);
        edit.remove(0);
        edit.add(line("A3", "3", "1"));
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE dh = ? AND bj = 'ds'", {held}), 1);
        edit.discard();
        QCOMPARE(loadDocumentLines(db, purchase(), held).size(), 2);
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE bj <> 'yz'"), 0);

        // Another window's pending lines survive this window's save and discard.
        LineBuffer other(db, purchase());
        other.startNew(newNumber(db, purchase()));
        other.add(line("B1", "1", "1"));
        LineBuffer mine(db, purchase());
        mine.startNew(other.number());   // both counters were shown the same number
        mine.add(line("C1", "4", "1"));
        mine.add(line("C2", "5", "1"));
        mine.remove(1);   // a line added since opening simply goes
        const QString saved = service.save(headerFor(purchase(), mine, "一号库"), mine, false, Today);
        QCOMPARE(saved, other.number());
        QCOMPARE(countRows(db, "SELECT count(*) FROM cgglc WHERE dh = ? AND bj = 'dz'", {saved}), 1);
        // The other counter saves later under the same number: it takes the next one.
        const QString second = service.save(headerFor(purchase(), other, "一号库"), other, false, Today);
        QCOMPARE(second, "CG20240305003");
        QCOMPARE(loadDocumentLines(db, purchase(), second).size(), 1);
        QCOMPARE(loadDocumentLines(db, purchase(), saved).size(), 1);

        // Taking up the held document and saving it commits additions and carries out deletions.
        edit.takeUp(held);
        edit.remove(1);
        edit.add(line("A4", "4", "2"));
        service.save(headerFor(purchase(), edit, "一号库"), edit, true, Today);
        const auto stored = loadDocumentLines(db, purchase(), held);
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored[0].txm, "A1");
        QCOMPARE(stored[1].txm, "A4");
        const auto h = service.header(held);
        QCOMPARE(h->kdrq, "2024-03-05");
        QCOMPARE(h->hjsl.toPlain(), "5");
        QCOMPARE(h->hjje.toPlain(), "9");
    }

    void aHeldDocumentKeepsItsNumberAndFirstSaveDate()
    {
        TestBook book;
        Database &db = book.db();
        DocumentService service(db, purchase());
        LineBuffer lines(db, purchase());
        lines.startNew(newNumber(db, purchase()));
        lines.add(line("A1", "1", "1"));
        const QString dh = service.save(headerFor(purchase(), lines, "一号库"), lines, false, Today);
        lines.takeUp(dh);
        QCOMPARE(service.save(headerFor(purchase(), lines, "一号库"), lines, true, Today.addDays(1)), dh);
        QCOMPARE(service.header(dh)->kdrq, "2024-03-05");
        // The next day numbers from 001 again: the held document counts on its first day.
        QCOMPARE(DocumentNumbering::next(db, purchase(), Today.addDays(1)).dh, "CG20240306001");
    }

    void discountAndLineChangesRecomputeAmounts()
    {
        TestBook book;
        Database &db = book.db();
        LineBuffer lines(db, retail());
        lines.startNew(newNumber(db, retail()));
        lines.add(line("A", "10", "5", "3.2"));
        lines.add(line("B", "3", "2.5", "1"));
        lines.discountAll(dec("0.8"));
        QCOMPARE(lines.lines()[0].je.toFixed2(), "40.00");
        QCOMPARE(lines.lines()[1].je.toFixed2(), "6.00");
        QCOMPARE(lines.totals().hjje.toPlain(), "46");
        DocumentLine changed = lines.lines()[0];
        changed.sl = dec("5");
        changed.recompute(true);
        lines.update(0, changed);
        QSqlQuery stored = db.exec("SELECT cbje, maoli, zk, bj FROM xsglc WHERE dh = ? ORDER BY id", {lines.number()});
        QVERIFY(stored.next());
        QCOMPARE(Decimal::fromRaw(stored.value(0).toLongLong()).toFixed2(), "16.00");
        QCOMPARE(Decimal::fromRaw(stored.value(1).toLongLong()).toFixed2(), "4.00");
        QCOMPARE(stored.value(3).toString(), "dz");
        QVERIFY(stored.next());
        QCOMPARE(Decimal::fromRaw(stored.value(2).toLongLong()).toPlain(), "0.8");
    }
};
MARVODA_TEST(TestDocumentService)
#include "tst_document_service.moc"
