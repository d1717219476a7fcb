#include "master/goods.h"
#include "master/goods_picking.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

namespace {

GoodsEntry entry(const QString &ck, const QString &ppgg, const QString &txm, const QString &dw = "根",
                 const QString &lb = "钢材")
{
    GoodsEntry e;
    e.ck = ck;
    e.lb = lb;
    e.ppgg = ppgg;
    e.txm = txm;
    e.dw = dw;
    return e;
}

qint64 addOrFail(GoodsCatalogue &c, const GoodsEntry &e)
{
    GoodsRecord r;
    const auto refusal = c.add(e, &r);
    if (refusal) qWarning("refused: %s", qPrintable(refusal->message));
    return refusal ? 0 : r.id;
}

QStringList names(QSqlQuery &q)
{
    QStringList out;
    while (q.next()) out << GoodsRecord::fromQuery(q).ppgg;
    return out;
}
QStringList names(QSqlQuery &&q) { return names(q); }

} // namespace

class TestGoods : public QObject {
    Q_OBJECT
private slots:
    // One article per warehouse: the same name, code and unit may exist once in each.
    void duplicatesAreRefusedPerWarehouseOnlyWhenAdding()
    {
        TestBook book;
        GoodsCatalogue c(book.db());
        QVERIFY(addOrFail(c, entry("一号库", "镀锌钢管", "DXGG")));
        QVERIFY(addOrFail(c, entry("二号库", "镀锌钢管", "DXGG")));
        QVERIFY(addOrFail(c, entry("一号库", "镀锌钢管", "DXGG", "米")));   // another unit
        const auto again = c.add(entry(" 一号库 ", "镀锌钢管 ", "DXGG", "根"));
        QVERIFY(again);
        QCOMPARE(again->message, QString("商品不可重复！"));
        QCOMPARE(again->field, QString("txm"));
        QCOMPARE(again->kind, Refusal::Refused);

        // Editing the metre row to the values of the first row is accepted.
        const qint64 other = addOrFail(c, entry("一号库", "螺纹钢", "LWG"));
        QVERIFY(!c.update(other, entry("一号库", "镀锌钢管", "DXGG")));
        QCOMPARE(c.find(other)->ppgg, QString("镀锌钢管"));
    }

    void requiredFieldsInOrder_data()
    {
        QTest::addColumn<QString>("blank");
        QTest::addColumn<QString>("message");
        QTest::newRow("ck") << "ck" << "仓库不可为空！";
        QTest::newRow("lb") << "lb" << "商品类别不可为空！";
        QTest::newRow("ppgg") << "ppgg" << "商品名称不可为空！";
        QTest::newRow("txm") << "txm" << "商品编码不可为空！";
        QTest::newRow("dw") << "dw" << "计量单位不可为空！";
    }
    void requiredFieldsInOrder()
    {
        QFETCH(QString, blank);
        QFETCH(QString, message);
        TestBook book;
        GoodsCatalogue c(book.db());
        GoodsEntry e = entry("一号库", "水泥", "SN");
        // This field and every later one are blank: the earliest one is reported.
        const QStringList order = {"ck", "lb", "ppgg", "txm", "dw"};
        for (qsizetype i = order.indexOf(blank); i < order.size(); ++i) e.setValue(order[i], "  ");
        const auto r = c.add(e);
        QVERIFY(r);
        QCOMPARE(r->message, message);
        QCOMPARE(r->field, blank);
        QCOMPARE(r->kind, Refusal::Missing);
        QVERIFY(!book.db().exists("SELECT 1 FROM sp"));
    }

    void typedNumbersAreRoundedHalfToEven_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("12.345") << "12.345" << "12.34";
        QTest::newRow("12.355") << "12.355" << "12.36";
        QTest::newRow("12.3 stays") << "12.3" << "12.30";
        QTest::newRow("read at four decimals, then two") << "0.125001" << "0.12";
        QTest::newRow("empty is 0") << "" << "0.00";
        QTest::newRow("point alone is 0") << "." << "0.00";
    }
    void typedNumbersAreRoundedHalfToEven()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        TestBook book;
        GoodsCatalogue c(book.db());
        GoodsEntry e = entry("一号库", "水泥", "SN");
        for (const QString &col : GoodsEntry::numberColumns()) e.setValue(col, typed);
        GoodsRecord saved;
        QVERIFY(!c.add(e, &saved));
        const GoodsRecord r = *c.find(saved.id);
        for (const QString &col : GoodsEntry::numberColumns()) QCOMPARE(r.text(col), stored);
    }

    void stockValueIsQuantityTimesCost_data()
    {
        QTest::addColumn<QString>("kcsl");
        QTest::addColumn<QString>("kcjg");
        QTest::addColumn<QString>("kcje");
        QTest::newRow("3 x 2.5") << "3" << "2.5" << "7.50";
        QTest::newRow("rounded half to even") << "0.5" << "0.25" << "0.12";   // 0.125
        QTest::newRow("negative stock") << "-2" << "1.13" << "-2.26";
        QTest::newRow("exact beyond double") << "100000" << "0.07" << "7000.00";
    }
    void stockValueIsQuantityTimesCost()
    {
        QFETCH(QString, kcsl);
        QFETCH(QString, kcjg);
        QFETCH(QString, kcje);
        TestBook book;
        GoodsCatalogue c(book.db());
        GoodsEntry e = entry("一号库", "水泥", "SN");
        e.kcsl = kcsl;
        e.kcjg = kcjg;
        GoodsRecord saved;
        QVERIFY(!c.add(e, &saved));
        QCOMPARE(c.find(saved.id)->kcje.toFixed2(), kcje);
        e.kcsl = "4";   // editing recomputes the value
        QVERIFY(!c.update(saved.id, e));
        QCOMPARE(c.find(saved.id)->kcje, (Decimal(4) * *Decimal::parse(kcjg)).round2());
    }

    void aValueOutOfRangeIsRefusedNotZeroed()
    {
        TestBook book;
        GoodsCatalogue c(book.db());
        GoodsEntry e = entry("一号库", "水泥", "SN");
        e.kcsl = "99999999";
        e.kcjg = "99999999";
        const auto r = c.add(e);
        QVERIFY(r);
        QCOMPARE(r->message, GoodsCatalogue::OutOfRangeMessage);
        e.kcsl = "1";
        e.jj = "999999999999999999";
        QCOMPARE(c.add(e)->field, QString("jj"));
        QVERIFY(!book.db().exists("SELECT 1 FROM sp"));
    }

    // The pickers' search box: name, code or category, any part, letters in any case, only in
    // the warehouse shown; quotes and wildcards are searched for as typed.
    void searchIsLimitedToTheWarehouse_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("empty: the whole warehouse") << "" << QStringList{"镀锌钢管 DN20", "O'Neil 5% 涂料", "水泥_42.5"};
        QTest::newRow("part of a name") << "钢管" << QStringList{"镀锌钢管 DN20"};
        QTest::newRow("code in small letters") << "dxg" << QStringList{"镀锌钢管 DN20"};
        QTest::newRow("category") << "涂料类" << QStringList{"O'Neil 5% 涂料"};
        QTest::newRow("quote") << "O'N" << QStringList{"O'Neil 5% 涂料"};
        QTest::newRow("percent") << "5%" << QStringList{"O'Neil 5% 涂料"};
        QTest::newRow("underscore") << "_4" << QStringList{"水泥_42.5"};
        QTest::newRow("backslash") << "\\" << QStringList{};
        QTest::newRow("other warehouse only") << "螺纹" << QStringList{};
    }
    void searchIsLimitedToTheWarehouse()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        TestBook book;
        GoodsCatalogue c(book.db());
        QVERIFY(addOrFail(c, entry("一号库", "镀锌钢管 DN20", "DXGG DN20")));
        QVERIFY(addOrFail(c, entry("二号库", "镀锌钢管 DN20", "DXGG DN20")));
        QVERIFY(addOrFail(c, entry("二号库", "螺纹钢", "LWG")));
        QVERIFY(addOrFail(c, entry("一号库", "O'Neil 5% 涂料", "ONEIL 5% TL", "桶", "涂料类")));
        QVERIFY(addOrFail(c, entry("一号库", "水泥_42.5", "SN_42.5", "袋", "水泥类")));
        QCOMPARE(names(c.search("一号库", typed)), found);
        QCOMPARE(names(c.search("一号库", typed)), found);   // the kept statement runs again
    }

    void pickerTreeAndListTree()
    {
        TestBook book;
        GoodsCatalogue c(book.db());
        addOrFail(c, entry("一号库", "A", "A", "根", "钢材"));
        addOrFail(c, entry("一号库", "B", "B", "根", "水泥"));
        addOrFail(c, entry("二号库", "C", "C", "根", "钢材"));
        QCOMPARE(names(c.inWarehouse("一号库")), (QStringList{"A", "B"}));
        QCOMPARE(names(c.inWarehouse("一号库", "钢材")), QStringList{"A"});
        QCOMPARE(names(c.inCategory("钢材")), (QStringList{"A", "C"}));
        QCOMPARE(names(c.inCategory("")), (QStringList{"A", "B", "C"}));
    }

    void queryDialogFilter_data()
    {
        QTest::addColumn<QString>("lb");
        QTest::addColumn<QString>("txm");
        QTest::addColumn<QString>("ppgg");
        QTest::addColumn<QString>("ck");
        QTest::addColumn<int>("stock");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("sumKcsl");
        QTest::newRow("all boxes empty skip rows with an empty column")
            << "" << "" << "" << "" << int(GoodsFilter::All) << QStringList{"钢管", "水泥", "O'Neil_漆"} << "5";
        QTest::newRow("stock > 0") << "" << "" << "" << "" << int(GoodsFilter::Positive) << QStringList{"钢管"} << "10";
        QTest::newRow("stock = 0") << "" << "" << "" << "" << int(GoodsFilter::Zero) << QStringList{"水泥"} << "0";
        QTest::newRow("stock < 0") << "" << "" << "" << "" << int(GoodsFilter::Negative) << QStringList{"O'Neil_漆"} << "-5";
        QTest::newRow("warehouse part") << "" << "" << "" << "二" << int(GoodsFilter::All) << QStringList{"O'Neil_漆"} << "-5";
        QTest::newRow("code, any case") << "" << "gg" << "" << "" << int(GoodsFilter::All) << QStringList{"钢管"} << "10";
        QTest::newRow("quote and underscore") << "" << "" << "l_" << "" << int(GoodsFilter::All) << QStringList{"O'Neil_漆"} << "-5";
        QTest::newRow("underscore is no wildcard") << "" << "" << "钢_" << "" << int(GoodsFilter::All) << QStringList{} << "0";
    }
    void queryDialogFilter()
    {
        QFETCH(QString, lb);
        QFETCH(QString, txm);
        QFETCH(QString, ppgg);
        QFETCH(QString, ck);
        QFETCH(int, stock);
        QFETCH(QStringList, found);
        QFETCH(QString, sumKcsl);
        TestBook book;
        GoodsCatalogue c(book.db());
        GoodsEntry a = entry("一号库", "钢管", "GG");
        a.kcsl = "10";
        a.kcjg = "2.5";
        addOrFail(c, a);
        addOrFail(c, entry("一号库", "水泥", "SN"));
        GoodsEntry b = entry("二号库", "O'Neil_漆", "ONEIL_Q");
        b.kcsl = "-5";
        b.kcjg = "1";
        addOrFail(c, b);
        // A row written without a category (an import, an approval of an unknown article).
        book.db().insert("sp", {{"ck", "一号库"}, {"lb", ""}, {"ppgg", "无类别"}, {"txm", "WLB"}, {"dw", "根"}});
        book.db().insert("sp", {{"ck", "一号库"}, {"ppgg", "空类别"}, {"txm", "KLB"}, {"dw", "根"}});

        GoodsFilter f{lb, txm, ppgg, ck, GoodsFilter::Stock(stock)};
        QCOMPARE(names(c.query(f)), found);
        QCOMPARE(c.totals(f).kcsl.toPlain(), sumKcsl);
    }

    void stockTotalsHideTheValueWithoutPricePermission()
    {
        const StockTotals t{Decimal(12), *Decimal::parse(u"30.5")};
        QCOMPARE(GoodsPicking::stockTotalsTexts(t, "显示价格"), (std::pair<QString, QString>{"12", "30.5"}));
        QCOMPARE(GoodsPicking::stockTotalsTexts(t, "不显价格"), (std::pair<QString, QString>{"12", ""}));
    }

    void regeneratedCodesOverwriteManualOnes()
    {
        TestBook book;
        GoodsCatalogue c(book.db());
        const qint64 a = addOrFail(c, entry("一号库", "镀锌钢管 pvc20", "手工码"));
        const qint64 b = addOrFail(c, entry("一号库", "中国", "X"));
        const qint64 untouched = addOrFail(c, entry("一号库", "水泥", "MINE"));
        const auto codes = c.regenerateCodes({a, b});
        QCOMPARE(codes.value(a), QString("DXGG PVC20"));
        QCOMPARE(c.find(a)->txm, QString("DXGG PVC20"));
        QCOMPARE(c.find(b)->txm, QString("ZG"));
        QCOMPARE(c.find(untouched)->txm, QString("MINE"));
    }

    void linesTakeThePriceTheirMarkNames_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("jg");
        QTest::addColumn<bool>("discount");
        QTest::addColumn<QString>("maoli");   // empty: no cost columns
        QTest::newRow("purchase") << "tjcg" << "10.00" << true << "";
        QTest::newRow("retail") << "tjxs" << "15.00" << true << "6.50";
        QTest::newRow("wholesale") << "tjpf" << "12.00" << true << "3.50";
        QTest::newRow("adjustment") << "tjrk" << "8.50" << false << "";
        QTest::newRow("transfer") << "tjdb" << "8.50" << false << "";
    }
    void linesTakeThePriceTheirMarkNames()
    {
        QFETCH(QString, mark);
        QFETCH(QString, jg);
        QFETCH(bool, discount);
        QFETCH(QString, maoli);
        GoodsRecord g;
        g.txm = "DXGG";
        g.ppgg = "镀锌钢管";
        g.dw = "根";
        g.jj = Decimal(10);
        g.xjpf = Decimal(12);
        g.xjls = Decimal(15);
        g.kcjg = *Decimal::parse(u"8.5");
        const auto l = GoodsPicking::lineFor(mark, g);
        QVERIFY(l);
        QCOMPARE(l->txm, g.txm);
        QCOMPARE(l->sl, Decimal(1));
        QCOMPARE(l->jg.toFixed2(), jg);
        QCOMPARE(l->je, l->jg);
        QCOMPARE(l->zk.has_value(), discount);
        if (discount) QCOMPARE(*l->zk, Decimal(1));
        QCOMPARE(l->maoli ? l->maoli->toFixed2() : QString(), maoli);
        if (l->cbjg) QCOMPARE(*l->cbje, g.kcjg);
        QVERIFY(!GoodsPicking::lineFor("zu1", g));
    }
};

MARVODA_TEST(TestGoods)
#include "tst_goods.moc"
