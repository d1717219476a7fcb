#include "app/text/amount_to_capitals.h"
#include "test_main.h"

#include <QTest>

class TestAmountToCapitals : public QObject {
    Q_OBJECT
private slots:
    void conversions_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("capitals");
        QTest::newRow("0") << "0" << "零";
        QTest::newRow("0.01") << "0.01" << "壹分";
        QTest::newRow("0.05") << "0.05" << "伍分";
        QTest::newRow("0.5") << "0.5" << "伍角整";
        QTest::newRow("0.55") << "0.55" << "伍角伍分";
        QTest::newRow("1") << "1" << "壹圆整";
        QTest::newRow("1.05") << "1.05" << "壹圆零伍分";
        QTest::newRow("10.5") << "10.5" << "壹拾圆伍角整";
        QTest::newRow("105") << "105" << "壹佰零伍圆整";
        QTest::newRow("1010") << "1010" << "壹仟零壹拾圆整";
        QTest::newRow("20.01") << "20.01" << "贰拾圆零壹分";
        QTest::newRow("100000") << "100000" << "壹拾万圆整";
        QTest::newRow("100000000") << "100000000" << "壹亿圆整";
        QTest::newRow("100010000") << "100010000" << "壹亿零壹万圆整";
        QTest::newRow("200000005") << "200000005" << "贰亿零伍圆整";
        QTest::newRow("1000005000 no zero after yi") << "1000005000" << "壹拾亿伍仟圆整";
        QTest::newRow("12345.67") << "12345.67" << "壹万贰仟叁佰肆拾伍圆陆角柒分";
        QTest::newRow("13 digits") << "1234567890123.45"
                                   << "壹万贰仟叁佰肆拾伍亿陆仟柒佰捌拾玖万零壹佰贰拾叁圆肆角伍分";
        // Beyond the stated cases: rounding to cents first, and the sign left to the caller.
        QTest::newRow("third decimal rounds half even") << "0.125" << "壹角贰分";
        QTest::newRow("below a cent is zero") << "0.004" << "零";
        QTest::newRow("negative gives its magnitude") << "-12.5" << "壹拾贰圆伍角整";
    }
    void conversions()
    {
        QFETCH(QString, amount);
        QFETCH(QString, capitals);
        const auto d = Decimal::parse(amount);
        QVERIFY(d);
        QCOMPARE(AmountToCapitals(*d), capitals);
    }
};

MARVODA_TEST(TestAmountToCapitals)
#include "tst_amount_to_capitals.moc"
