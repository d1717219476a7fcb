#include "app/text/decimal.h"
#include "test_main.h"

#include <QTest>

class TestDecimal : public QObject {
    Q_OBJECT
private slots:
    void round2_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("fixed2");
        QTest::newRow("half down to even") << "2.125" << "2.12";
        QTest::newRow("half up to even") << "2.135" << "2.14";
        QTest::newRow("12.345") << "12.345" << "12.34";
        QTest::newRow("12.355") << "12.355" << "12.36";
        QTest::newRow("above half") << "12.3451" << "12.35";
        QTest::newRow("negative half") << "-2.125" << "-2.12";
        QTest::newRow("negative above half") << "-2.1251" << "-2.13";
        QTest::newRow("negative to zero") << "-0.004" << "0.00";
        QTest::newRow("whole") << "100" << "100.00";
        QTest::newRow("fifth decimal rounds at parse") << "0.00005" << "0.00";
    }
    void round2()
    {
        QFETCH(QString, in);
        QFETCH(QString, fixed2);
        auto d = Decimal::parse(in);
        QVERIFY(d);
        QCOMPARE(d->toFixed2(), fixed2);
        QCOMPARE(d->round2().toFixed2(), fixed2);
    }

    void formats_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("fixed2");
        QTest::newRow("12.5") << "12.50" << "12.5" << "12.50";
        QTest::newRow("100") << "100" << "100" << "100.00";
        QTest::newRow("0") << "0" << "0" << "0.00";
        QTest::newRow("-0") << "-0" << "0" << "0.00";
        QTest::newRow("four decimals") << "1.2345" << "1.2345" << "1.23";
        QTest::newRow("leading point") << ".5" << "0.5" << "0.50";
        QTest::newRow("trailing point") << " 7. " << "7" << "7.00";
        QTest::newRow("negative") << "-3.1" << "-3.1" << "-3.10";
    }
    void formats()
    {
        QFETCH(QString, in);
        QFETCH(QString, plain);
        QFETCH(QString, fixed2);
        auto d = Decimal::parse(in);
        QVERIFY(d);
        QCOMPARE(d->toPlain(), plain);
        QCOMPARE(d->toFixed2(), fixed2);
    }

    void rejectsWhatIsNotANumber_data()
    {
        QTest::addColumn<QString>("in");
        for (const char *s : {"", " ", "-", ".", "1.2.3", "1-2", "abc", "12a", "--1", "1e5",
                              "99999999999999999999"})
            QTest::newRow(s) << QString::fromLatin1(s);
    }
    void rejectsWhatIsNotANumber()
    {
        QFETCH(QString, in);
        QVERIFY(!Decimal::parse(in));
        QCOMPARE(Decimal::parseOr0(in), Decimal());
    }

    void arithmeticIsExact()
    {
        auto d = [](const char *s) { return *Decimal::parse(QString::fromLatin1(s)); };
        QCOMPARE((d("0.1") + d("0.2")).toPlain(), QString("0.3"));
        QCOMPARE((d("3") * d("2.5")).round2().toFixed2(), QString("7.50"));
        QCOMPARE((d("1.2345") * d("1.1")).toPlain(), QString("1.358"));   // 1.35795 → 1.358
        QCOMPARE((d("10") / d("3")).toPlain(), QString("3.3333"));
        QCOMPARE((d("2") / d("3")).toPlain(), QString("0.6667"));
        QCOMPARE((d("0.0001") * d("0.5")).raw(), 0);                        // exact half → even 0
        QCOMPARE((d("0.0003") * d("0.5")).raw(), 2);                        // 1.5 → 2
        QVERIFY(d("-1") < d("0"));
        QVERIFY_THROWS_EXCEPTION(std::domain_error, d("1") / Decimal());
    }

    void overflowIsReportedNotWrapped()
    {
        const Decimal big = Decimal::fromRaw(std::numeric_limits<qint64>::max());
        QVERIFY_THROWS_EXCEPTION(DecimalOverflow, big + Decimal::fromRaw(1));
        QVERIFY_THROWS_EXCEPTION(DecimalOverflow, big * Decimal(2));
        QVERIFY_THROWS_EXCEPTION(DecimalOverflow, -Decimal::fromRaw(std::numeric_limits<qint64>::min()));
        QCOMPARE(Decimal::fromRaw(std::numeric_limits<qint64>::min()).toPlain(),
                 QString("-922337203685477.5808"));
    }
};

MARVODA_TEST(TestDecimal)
#include "tst_decimal.moc"
