#include "documents/ui/tfxgmx1.h"
#include "documents/ui/tfxgmx4.h"
#include "entry_fixture.h"
#include "test_main.h"

#include <QPushButton>

namespace {

// A sales window's side of the dialogs: its lines and the totals they recompute.
struct SalesLines : GoodsLineCaller {
    LineBuffer buffer{book(), documentKind(DocType::Retail)};
    int recomputed = 0;
    QString currentWarehouse() const override { return "一号库"; }
    void appendGoodsLine(const GoodsLine &) override {}
    void recomputeTotals() override { ++recomputed; }
};

QStringList linesIn(Database &db, const QString &table, const QString &columns)
{
    return rowsOf(db, "SELECT " + columns + " FROM " + table + " ORDER BY id");
}

} // namespace

class TestLineDialogs : public QObject {
    Q_OBJECT

private slots:
    // 10 × 5.00 at rate 0.9 is 45; the quantity raised to 12 makes 54, and the total follows.
    void lineChangeRecomputesTheAmountAndTheTotals()
    {
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        answerModal<TFxgmx1>([](TFxgmx1 *d) {
            QCOMPARE(d->windowTitle(), QString("修改采购明细"));
            QCOMPARE(d->mode(), QString("cgmx"));
            QApplication::setActiveWindow(d);
            QCOMPARE(focused(), fieldOf(d, "sl"));
            QCOMPARE(fieldOf(d, "je")->text(), QString("50.00"));
            typeInto(fieldOf(d, "zk"), "0.9");
            QCOMPARE(fieldOf(d, "je")->text(), QString("45.00"));
            fieldOf(d, "zk")->clear();   // an emptied rate is no discount
            QCOMPARE(fieldOf(d, "zk")->text(), QString("1.00"));
            typeInto(fieldOf(d, "zk"), "0.9");
            fieldOf(d, "sl")->setFocus();
            press(Qt::Key_Return);   // Enter in the quantity saves
            QVERIFY(!d->isVisible());
        });
        press(Qt::Key_F12);
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("45"));
        answerModal<TFxgmx1>([](TFxgmx1 *d) {
            QApplication::setActiveWindow(d);
            typeInto(fieldOf(d, "sl"), "12");
            QCOMPARE(fieldOf(d, "je")->text(), QString("54.00"));
            press(Qt::Key_Return);
        });
        QApplication::setActiveWindow(&w);
        press(Qt::Key_F12);
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("54"));
        QCOMPARE(fieldOf(&w, "yfe")->text(), QString("54"));
        QCOMPARE(linesIn(b.book.db(), "cgglc", "sl, jg, zk, je, bj"), QStringList{"12|5|0.9|54|dz"});
        QCOMPARE(b.prompter.texts(), QStringList());
    }

    // A price typed with three decimals is reformatted when Tab leaves it, and the amount shown
    // is the one the reformatted price gives.
    void priceReformattedOnLeaving()
    {
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        answerModal<TFxgmx1>([](TFxgmx1 *d) {
            QApplication::setActiveWindow(d);
            typeInto(fieldOf(d, "jg"), "5.555");
            QCOMPARE(fieldOf(d, "je")->text(), QString("55.55"));
            press(Qt::Key_Tab);
            QCOMPARE(focused(), fieldOf(d, "zk"));
            QCOMPARE(fieldOf(d, "jg")->text(), QString("5.56"));
            QCOMPARE(fieldOf(d, "je")->text(), QString("55.60"));
            fieldOf(d, "sl")->setFocus();
            press(Qt::Key_Return);
        });
        press(Qt::Key_F12);
        QCOMPARE(linesIn(b.book.db(), "cgglc", "sl, jg, je"), QStringList{"10|5.56|55.6"});
    }

    void lineChangeZeroChecks_data()
    {
        QTest::addColumn<QString>("sl");
        QTest::addColumn<QString>("zk");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("zero quantity") << "0" << "0.5" << "数量不可为零！" << "sl";
        QTest::newRow("lone minus quantity") << "-" << "0.5" << "数量不可为零！" << "sl";
        QTest::newRow("zero rate") << "3" << "0" << "折扣率不可为零！" << "zk";
        QTest::newRow("rate rounds to zero") << "3" << "0.004" << "折扣率不可为零！" << "zk";
    }
    void lineChangeZeroChecks()
    {
        QFETCH(QString, sl);
        QFETCH(QString, zk);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        TFxgmx1 d(&w);
        d.edit("cgmx", w.lines(), 0, w);
        showActive(d);
        typeInto(fieldOf(&d, "zk"), qPrintable(zk));
        typeInto(fieldOf(&d, "sl"), qPrintable(sl));
        d.findChild<QPushButton *>("BitBtn1")->click();
        QCOMPARE(b.prompter.texts(), QStringList{message});
        QCOMPARE(focused()->objectName(), focus);
        QVERIFY(d.isVisible());
        QCOMPARE(linesIn(b.book.db(), "cgglc", "sl, zk, je"), QStringList{"10|1|50"});
    }

    // A sales line keeps its cost: 5 at 3.20 costs 16.00, the profit is what is left.
    void salesLineChangeRecomputesCostAndProfit()
    {
        EntryBook b;
        SalesLines sales;
        sales.buffer.startNew("XS20240305001");
        DocumentLine l;
        l.txm = "DXGG";
        l.ppgg = "镀锌钢管";
        l.dw = "根";
        l.sl = 2;
        l.jg = *Decimal::parse(u"6");
        l.cbjg = *Decimal::parse(u"3.2");
        l.recompute(true);
        sales.buffer.add(l);
        TFxgmx1 d;
        d.edit("xsmx", sales.buffer, 0, sales);
        QCOMPARE(fieldOf(&d, "je")->text(), QString("12.00"));
        showActive(d);
        typeInto(fieldOf(&d, "sl"), "5");
        press(Qt::Key_Return);
        QCOMPARE(linesIn(b.book.db(), "xsglc", "sl, je, cbjg, cbje, maoli"), QStringList{"5|30|3.2|16|14"});
        QCOMPARE(sales.recomputed, 1);
    }

    void discountAppliesOneRateToEveryLine_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("hjje");
        const QStringList untouched = {"1|50", "1|7.5"};
        QTest::newRow("eight tenths") << "0.8" << QStringList{} << QStringList{"0.8|40", "0.8|6"} << "46";
        QTest::newRow("long rate rounded") << "0.855" << QStringList{} << QStringList{"0.86|43", "0.86|6.45"} << "49.45";
        QTest::newRow("emptied is none") << "" << QStringList{} << untouched << "57.5";
        QTest::newRow("not a number") << "八折" << QStringList{"折扣率必须是数字！"} << untouched << "57.5";
        QTest::newRow("zero") << "0" << QStringList{"折扣率不可为零！"} << untouched << "57.5";
    }
    void discountAppliesOneRateToEveryLine()
    {
        QFETCH(QString, rate);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, stored);
        QFETCH(QString, hjje);
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        keyInLine(w, "SN", "3");
        answerModal<TFxgmx4>([rate](TFxgmx4 *d) {
            QCOMPARE(d->windowTitle(), QString("采购单折扣率"));
            QCOMPARE(fieldOf(d, "zk")->text(), QString("1"));
            fieldOf(d, "zk")->setText(rate);
            d->findChild<QPushButton *>("BitBtn1")->click();
        });
        w.discountAll();
        QCOMPARE(b.prompter.texts(), messages);
        QCOMPARE(linesIn(b.book.db(), "cgglc", "zk, je"), stored);
        QCOMPARE(fieldOf(&w, "hjje")->text(), hjje);
    }
};

MARVODA_TEST(TestLineDialogs)
#include "tst_line_dialogs.moc"
