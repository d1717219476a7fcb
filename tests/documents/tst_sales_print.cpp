#include "app/text/amount_to_capitals.h"
#include "document_fixture.h"
#include "documents/document_print.h"
#include "test_main.h"

#include <QTest>

// The printed sales form: what the customer still owes, in capitals, and nothing when paid up.
class TestSalesPrint : public QObject {
    Q_OBJECT
private slots:
    void debtInCapitals_data()
    {
        QTest::addColumn<QString>("payable");
        QTest::addColumn<QString>("paid");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("capitals");
        const QString owes = QStringLiteral("欠款:");
        QTest::newRow("paid up") << "120.5" << "120.5" << "" << "";
        QTest::newRow("part paid") << "120.5" << "100" << owes << "(大写)" + AmountToCapitals(dec("20.5"));
        QTest::newRow("nothing paid") << "88" << "0" << owes << "(大写)" + AmountToCapitals(dec("88"));
        QTest::newRow("paid too much") << "50" << "80" << owes << "(大写)" + AmountToCapitals(dec("30")) + "(退)";
        QTest::newRow("refund still owed") << "-40" << "-10" << owes << "(大写)" + AmountToCapitals(dec("30")) + "(退)";
    }
    void debtInCapitals()
    {
        QFETCH(QString, payable);
        QFETCH(QString, paid);
        for (DocType type : {DocType::Retail, DocType::Wholesale}) {
            DocumentHeader h;
            h.dh = "XS20240305001";
            h.setField("kh", "路人甲");
            h.hjje = *Decimal::parse(payable) + dec("2");
            h.yhe = dec("2");
            h.payable = *Decimal::parse(payable);
            h.paid = *Decimal::parse(paid);
            const ReportData r = DocumentPrint::reportData(documentKind(type), "宏达建材商行", h, {line("S1", "1", "10")},
                                                           "张三", "开户行：工行", "电话：123");
            QCOMPARE(r.title, QString("宏达建材商行销售单"));
            QTEST(r.texts.value("qkbq"), "label");
            QTEST(r.texts.value("qkdx"), "capitals");
            QCOMPARE(r.texts.value("yhe"), QString("￥2"));
            QCOMPARE(r.texts.value("sse"), "￥" + h.paid.toPlain());
            QCOMPARE(r.texts.value("kh"), QString("路人甲"));
            QCOMPARE(r.texts.value("bz3"), QString("开户行：工行"));
            QCOMPARE(r.texts.value("bz4"), QString("电话：123"));
        }
    }
};

MARVODA_TEST(TestSalesPrint)
#include "tst_sales_print.moc"
