#include "documents/stock_posting.h"
#include "test_main.h"

#include <QTest>

namespace {
Decimal d(const char *t) { return *Decimal::parse(QString::fromLatin1(t)); }
QString show(const StockState &x) { return x.kcsl.toPlain() + ' ' + x.kcjg.toFixed2() + ' ' + x.kcje.toFixed2(); }
} // namespace

class TestStockPosting : public QObject {
    Q_OBJECT
private slots:
    void rules_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("before");   // kcsl kcjg kcje
        QTest::addColumn<QString>("dq");
        QTest::addColumn<QString>("dv");
        QTest::addColumn<QString>("after");
        const int in = int(PostingRule::Inflow), out = int(PostingRule::Outflow), fix = int(PostingRule::FixedCost);
        QTest::newRow("purchase 10 at 5.00 into 10 at 4.00") << in << "10 4 40" << "10" << "50" << "20 4.50 90.00";
        QTest::newRow("value brought to 0 keeps the cost") << in << "10 4 40" << "5" << "-40" << "15 4.00 60.00";
        QTest::newRow("quantity brought to 0 zeroes the value") << in << "10 4 40" << "-10" << "-30" << "0 4.00 0.00";
        QTest::newRow("into negative stock takes the line's cost") << in << "-11 5 -55" << "10" << "60" << "-1 6.00 -6.00";
        QTest::newRow("into negative stock, now positive") << in << "-9 5 -45" << "10" << "60" << "1 6.00 6.00";
        QTest::newRow("into empty stock") << in << "0 3 0" << "4" << "10" << "4 2.50 10.00";
        QTest::newRow("return below zero cost keeps the cost") << in << "10 4.5 45" << "-9" << "-54" << "1 4.50 4.50";
        QTest::newRow("un-approval restores") << in << "20 4.5 90" << "-10" << "-50" << "10 4.00 40.00";
        QTest::newRow("average rounds half to even") << in << "3 1 3" << "5" << "5.1" << "8 1.01 8.10";
        QTest::newRow("sell 3 of 20 at 4.50") << out << "20 4.5 90" << "-3" << "0" << "17 4.50 76.50";
        QTest::newRow("sell 3 of 2 at 4.50") << out << "2 4.5 9" << "-3" << "0" << "-1 4.50 -4.50";
        QTest::newRow("adjust -3 at 7.50") << fix << "10 7.5 75" << "-3" << "-27" << "7 7.50 52.50";
        QTest::newRow("adjust +2 at 9.00 keeps 7.50") << fix << "10 7.5 75" << "2" << "18" << "12 7.50 90.00";
    }
    void rules()
    {
        QFETCH(int, rule);
        QFETCH(QString, before);
        QFETCH(QString, dq);
        QFETCH(QString, dv);
        QFETCH(QString, after);
        const QStringList b = before.split(' ');
        StockState row{d(b[0].toLatin1()), d(b[1].toLatin1()), d(b[2].toLatin1())};
        StockState r;
        switch (PostingRule(rule)) {
        case PostingRule::Inflow: r = StockPosting::inflow(row, d(dq.toLatin1()), d(dv.toLatin1())); break;
        case PostingRule::Outflow: r = StockPosting::outflow(row, d(dq.toLatin1())); break;
        case PostingRule::FixedCost: r = StockPosting::fixedCost(row, d(dq.toLatin1())); break;
        }
        QCOMPARE(show(r), after);
    }

    void newRows()
    {
        // A purchase takes the line's price and value, a sale its stock unit cost.
        QCOMPARE(show(StockPosting::newRow(PostingRule::Inflow, d("6"), d("10"), d("55"))), "10 6.00 55.00");
        QCOMPARE(show(StockPosting::newRow(PostingRule::Outflow, d("3.2"), d("-5"), d("0"))), "-5 3.20 -16.00");
        QCOMPARE(show(StockPosting::newRow(PostingRule::FixedCost, d("5"), d("-10"), d("-50"))), "-10 5.00 -50.00");
    }
};
MARVODA_TEST(TestStockPosting)
#include "tst_stock_posting.moc"
