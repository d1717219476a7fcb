#include "app/session.h"
#include "ledger_rows.h"
#include "stock/assembly.h"
#include "stock/stock_detail.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

using ledger_rows::add;

namespace {

qint64 goods(Database &db, const char *ck, const char *txm, const char *kcsl, const char *kcjg, const char *lb = "整件")
{
    const Decimal q = Decimal::parseOr0(QString::fromUtf8(kcsl)), p = Decimal::parseOr0(QString::fromUtf8(kcjg));
    return add(db, "sp", {{"ck", ck}, {"lb", lb}, {"txm", txm}, {"ppgg", QStringLiteral("品") + txm}, {"dw", "个"},
                          {"kcsl", kcsl}, {"kcjg", kcjg}, {"kcje", (q * p).round2().toPlain()}});
}

// "kcsl/kcje" of a goods row.
QString stock(Database &db, qint64 id)
{
    QSqlQuery q = db.exec("SELECT kcsl, kcje FROM sp WHERE id = ?", {id});
    if (!q.next()) return "gone";
    return Decimal::fromRaw(q.value(0).toLongLong()).toPlain() + u'/' + Decimal::fromRaw(q.value(1).toLongLong()).toPlain();
}

// "txm kc xs sl" per listed part; a part whose goods row is gone shows an empty code.
QStringList partsList(AssemblyService &s, qint64 whole)
{
    QSqlQuery q = s.parts(whole);
    QStringList out;
    while (q.next())
        out << QStringLiteral("%1 %2 %3").arg(q.value("txm").toString(),
                                             Decimal::fromRaw(q.value("xs").toLongLong()).toPlain(),
                                             Decimal::fromRaw(q.value("sl").toLongLong()).toPlain());
    return out;
}

} // namespace

class TestAssembly : public QObject {
    Q_OBJECT
private slots:
    // A whole of parts A (2 each) and B (1 each): assembling 10 takes 20 of A and 10 of B, each
    // row valued at its own unit cost; the next time the whole is chosen with quantity 1 the list
    // asks for 2 and 1 again.
    void assembleTenThenOne()
    {
        TestBook book;
        Database &db = book.db();
        const qint64 whole = goods(db, "一号库", "W", "1", "50");
        const qint64 a = goods(db, "二号库", "A", "30", "3.333");
        const qint64 b = goods(db, "二号库", "B", "5", "7");
        AssemblyService s(db, AssemblyKind::assembly());
        QVERIFY(!s.addPart({"二号库", whole, "10", a, "2"}));
        QVERIFY(!s.addPart({"二号库", whole, "10", b, "1"}));
        QCOMPARE(partsList(s, whole), (QStringList{"A 2 20", "B 1 10"}));

        QVERIFY(!s.confirm({"一号库", whole, "10"}));
        QCOMPARE(stock(db, whole), QString("11/550"));
        QCOMPARE(stock(db, a), QString("10/33.33"));   // 10 × 3.333 = 33.33
        QCOMPARE(stock(db, b), QString("-5/-35"));     // parts may go below zero

        s.setQuantity(whole, "1");
        QCOMPARE(partsList(s, whole), (QStringList{"A 2 2", "B 1 1"}));
        QVERIFY(!s.confirm({"一号库", whole, "1"}));
        QCOMPARE(stock(db, whole), QString("12/600"));
        QCOMPARE(stock(db, a), QString("8/26.66"));
        QCOMPARE(stock(db, b), QString("-6/-42"));
    }

    // Breaking up 3 wholes of 4 parts each; a part whose goods row was deleted stays listed
    // without goods columns and is passed over.
    void disassembleThreeOfFour()
    {
        TestBook book;
        Database &db = book.db();
        const qint64 whole = goods(db, "一号库", "W", "5", "40");
        const qint64 part = goods(db, "一号库", "P", "0", "10");
        const qint64 gone = goods(db, "一号库", "G", "0", "1");
        AssemblyService s(db, AssemblyKind::disassembly());
        QVERIFY(!s.addPart({"一号库", whole, "3", part, "4"}));
        QVERIFY(!s.addPart({"一号库", whole, "3", gone, "2"}));
        db.exec("DELETE FROM sp WHERE id = ?", {gone});
        QCOMPARE(partsList(s, whole), (QStringList{"P 4 12", " 2 6"}));

        QVERIFY(!s.confirm({"一号库", whole, "3"}));
        QCOMPARE(stock(db, whole), QString("2/80"));
        QCOMPARE(stock(db, part), QString("12/120"));
        QCOMPARE(stock(db, gone), QString("gone"));
    }

    void addPartChecksInOrder_data()
    {
        QTest::addColumn<QString>("ck2");
        QTest::addColumn<bool>("withWhole");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<int>("part");   // 0 none, 1 another row, 2 the whole itself
        QTest::addColumn<QString>("coefficient");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        QTest::newRow("no warehouse") << "" << false << "0" << 0 << "0" << "零件仓库不可为空！" << "ck2";
        QTest::newRow("no whole") << "库" << false << "0" << 0 << "0" << "拆分所需的整件不可为空！" << "txm1";
        QTest::newRow("zero quantity") << "库" << true << "0" << 0 << "0" << "拆分数量不可为零！" << "cfsl";
        QTest::newRow("fraction of a whole") << "库" << true << "2.5" << 1 << "1" << "拆分数量必须为整数！" << "cfsl";
        QTest::newRow("no part") << "库" << true << "1" << 0 << "0" << "拆分而成的零件不可为空！" << "txm2";
        QTest::newRow("part is the whole") << "库" << true << "1" << 2 << "0" << "零件不可跟整件相同！" << "txm2";
        QTest::newRow("zero coefficient") << "库" << true << "1" << 1 << "0" << "拆分系数不可为零！" << "cfxs";
        QTest::newRow("fraction coefficient") << "库" << true << "1" << 1 << "0.5" << "拆分系数必须为整数！" << "cfxs";
    }
    void addPartChecksInOrder()
    {
        QFETCH(QString, ck2);
        QFETCH(bool, withWhole);
        QFETCH(QString, quantity);
        QFETCH(int, part);
        QFETCH(QString, coefficient);
        QFETCH(QString, message);
        QFETCH(QString, field);
        TestBook book;
        const qint64 whole = goods(book.db(), "库", "W", "1", "1");
        const qint64 other = goods(book.db(), "库", "P", "1", "1");
        AssemblyService s(book.db(), AssemblyKind::disassembly());
        const auto r = s.addPart({ck2, withWhole ? whole : 0, quantity, part == 0 ? 0 : part == 1 ? other : whole, coefficient});
        QVERIFY(r);
        QCOMPARE(r->message, message);
        QCOMPARE(r->field, field);
        QVERIFY(partsList(s, whole).isEmpty());
    }

    // Refused confirmations change nothing: no warehouse, no whole, a fraction, an empty list.
    void confirmRefusals_data()
    {
        QTest::addColumn<QString>("ck1");
        QTest::addColumn<bool>("withWhole");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<bool>("withParts");
        QTest::addColumn<QString>("message");
        QTest::newRow("no warehouse") << "" << true << "1" << true << "整件仓库不可为空！";
        QTest::newRow("no whole") << "库" << false << "1" << true << "组装而成的整件不可为空！";
        QTest::newRow("zero") << "库" << true << "0" << true << "组装数量不可为零！";
        QTest::newRow("2.5") << "库" << true << "2.5" << true << "组装数量必须为整数！";
        QTest::newRow("no parts") << "库" << true << "1" << false << "零件不可为空！";
    }
    void confirmRefusals()
    {
        QFETCH(QString, ck1);
        QFETCH(bool, withWhole);
        QFETCH(QString, quantity);
        QFETCH(bool, withParts);
        QFETCH(QString, message);
        TestBook book;
        const qint64 whole = goods(book.db(), "库", "W", "1", "1");
        const qint64 part = goods(book.db(), "库", "P", "9", "1");
        AssemblyService s(book.db(), AssemblyKind::assembly());
        if (withParts) QVERIFY(!s.addPart({"库", whole, "1", part, "3"}));
        const auto r = s.confirm({ck1, withWhole ? whole : 0, quantity});
        QVERIFY(r);
        QCOMPARE(r->message, message);
        QCOMPARE(stock(book.db(), whole), QString("1/1"));
        QCOMPARE(stock(book.db(), part), QString("9/9"));
        if (withParts) QCOMPARE(partsList(s, whole), QStringList{"P 3 3"});
    }

    // Typing a code finds the goods row only when the warehouse holds exactly one with it.
    void findGoodsByCode()
    {
        TestBook book;
        const qint64 id = goods(book.db(), "一号库", "W", "4", "1");
        goods(book.db(), "二号库", "W", "4", "1");
        AssemblyService s(book.db(), AssemblyKind::assembly());
        QCOMPARE(s.findGoods("W", "一号库")->spid, id);
        QCOMPARE(s.findGoods("W", "一号库")->kcsl.toPlain(), QString("4"));
        QVERIFY(!s.findGoods("W", "三号库"));
        QVERIFY(!s.findGoods("w", "一号库"));
    }

    // Zeroing acts on exactly the rows given (those the list shows), keeps the unit cost, and
    // records the operator in the operation log within the same transaction.
    void zeroingTheShownRowsOnly()
    {
        TestBook book;
        Database &db = book.db();
        session::current().stYhm1 = "仓管员";
        const qint64 a = goods(db, "库", "A", "5", "2", "钢材");
        const qint64 b = goods(db, "库", "B", "-3", "4", "钢材");
        const qint64 c = goods(db, "库", "C", "7", "1", "水泥");
        StockDetail::zeroStock(db, {a, b});
        QCOMPARE(stock(db, a), QString("0/0"));
        QCOMPARE(stock(db, b), QString("0/0"));
        QCOMPARE(stock(db, c), QString("7/7"));
        QSqlQuery kcjg = db.exec("SELECT kcjg FROM sp WHERE id = ?", {b});
        QVERIFY(kcjg.next());
        QCOMPARE(Decimal::fromRaw(kcjg.value(0).toLongLong()).toPlain(), QString("4"));
        QSqlQuery log = db.exec("SELECT czy, cz FROM czrz");
        QVERIFY(log.next());
        QCOMPARE(log.value(0).toString(), QString("仓管员"));
        QCOMPARE(log.value(1).toString(), QString("库存归零"));
        QCOMPARE(StockDetail::allTotals(db).kcsl.toPlain(), QString("7"));
    }

    void zeroingRefusalsInOrder()
    {
        QCOMPARE(StockDetail::zeroingRefusal(false, false, 0)->message, QString("你无权归零库存！"));
        QCOMPARE(StockDetail::zeroingRefusal(true, false, 0)->message, QString("数据表未打开，请先查询！"));
        QCOMPARE(StockDetail::zeroingRefusal(true, true, 0)->message, QString("没有数据可归零，请先查询！"));
        QVERIFY(!StockDetail::zeroingRefusal(true, true, 1));
    }
};

MARVODA_TEST(TestAssembly)
#include "tst_assembly.moc"
