#include "documents/amount_checks.h"
#include "documents/document_numbering.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

namespace {
Decimal d(const QString &t) { return *Decimal::parse(t); }
}

class TestNumberingAndChecks : public QObject {
    Q_OBJECT
private slots:
    void numbering_data()
    {
        QTest::addColumn<QStringList>("saved");   // "dh kdrq" of stored purchase documents
        QTest::addColumn<QString>("expected");    // next number on 2024-03-05, or "limit"
        const QString today = "2024-03-05";
        QTest::newRow("first of the day") << QStringList{"CG20240304007 2024-03-04"} << "CG20240305001";
        QTest::newRow("after 009") << QStringList{"CG20240305009 " + today, "CG20240305003 " + today} << "CG20240305010";
        QTest::newRow("after 099") << QStringList{"CG20240305099 " + today} << "CG20240305100";
        QTest::newRow("after 998") << QStringList{"CG20240305998 " + today} << "CG20240305999";
        QTest::newRow("999 is the last") << QStringList{"CG20240305999 " + today} << "limit";
        // A document first saved yesterday and saved again today keeps yesterday's place.
        QTest::newRow("kdrq decides the day") << QStringList{"CG20240304050 2024-03-04", "CG20240305002 " + today}
                                               << "CG20240305003";
    }
    void numbering()
    {
        QFETCH(QStringList, saved);
        QFETCH(QString, expected);
        TestBook book;
        for (const QString &s : saved)
            book.db().insert("cgglz", {{"dh", s.section(' ', 0, 0)}, {"kdrq", s.section(' ', 1, 1)}, {"shbj", "未审核"}});
        const auto r = DocumentNumbering::next(book.db(), documentKind(DocType::Purchase), QDate(2024, 3, 5));
        QCOMPARE(r.outcome == DocumentNumbering::Outcome::DayLimit ? QString("limit") : r.dh, expected);
    }

    void retailAndWholesaleNumberApart()
    {
        TestBook book;
        book.db().insert("xsglz", {{"dh", "XS20240305004"}, {"kdrq", "2024-03-05"}});
        const QDate today(2024, 3, 5);
        QCOMPARE(DocumentNumbering::next(book.db(), documentKind(DocType::Wholesale), today).dh, "PF20240305001");
        QCOMPARE(DocumentNumbering::next(book.db(), documentKind(DocType::Retail), today).dh, "XS20240305005");
        // After a save the window takes the following number without asking, dated today.
        QCOMPARE(DocumentNumbering::following(documentKind(DocType::Retail), "XS20240304009", today).dh, "XS20240305010");
    }

    void amountChecks_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("amounts");   // hjje yhe paid (payable = hjje − yhe)
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("message");   // empty: passes
        QTest::addColumn<QString>("field");
        const int cg = int(DocType::Purchase), xs = int(DocType::Retail);
        QTest::newRow("no lines") << cg << "0 0 0" << 0 << "明细不可为空！" << "";
        QTest::newRow("zero total, discount") << cg << "0 1 0" << 1 << "总金额为零，优惠额只可为零！" << "yhe";
        QTest::newRow("zero total, paid") << cg << "0 0 1" << 1 << "总金额为零，实付额只可为零！" << "sfe";
        QTest::newRow("zero total, received") << xs << "0 0 1" << 1 << "总金额为零，实收额只可为零！" << "sse";
        QTest::newRow("negative discount") << cg << "50 -1 0" << 1 << "付款单据，优惠额不可为负数！" << "yhe";
        QTest::newRow("discount above total") << xs << "50 51 0" << 1 << "收款单据，优惠额不可大于总金额！" << "yhe";
        QTest::newRow("negative paid") << cg << "50 0 -1" << 1 << "付款单据，实付额不可为负数！" << "sfe";
        QTest::newRow("paid above payable") << cg << "50 10 41" << 1 << "付款单据，实付额不可大于应付额！" << "sfe";
        QTest::newRow("received above receivable") << xs << "50 10 41" << 1 << "收款单据，实收额不可大于应收额！" << "sse";
        QTest::newRow("paid in full") << cg << "50 10 40" << 1 << "" << "";
        QTest::newRow("refund, positive discount") << cg << "-50 1 0" << 1 << "退款单据，优惠额不可为正数！" << "yhe";
        QTest::newRow("refund, discount below total") << cg << "-50 -51 0" << 1 << "退款单据，优惠额不可小于总金额！" << "yhe";
        QTest::newRow("refund, positive paid") << xs << "-50 0 1" << 1 << "退款单据，实收额不可为正数！" << "sse";
        QTest::newRow("refund, paid below payable") << cg << "-50 0 -51" << 1 << "退款单据，实付额不可小于应付额！" << "sfe";
        QTest::newRow("refund paid in full") << cg << "-50 0 -50" << 1 << "" << "";
        QTest::newRow("refund paid nothing") << cg << "-50 0 0" << 1 << "" << "";
    }
    void amountChecks()
    {
        QFETCH(int, type);
        QFETCH(QString, amounts);
        QFETCH(int, lines);
        QFETCH(QString, message);
        QFETCH(QString, field);
        const DocumentKind &kind = documentKind(DocType(type));
        DocumentHeader h;
        h.setField("ck", "一号库");
        h.setField(kind.partyColumn, "宏达");
        h.jsr = "张三";
        const QStringList a = amounts.split(' ');
        h.hjje = d(a[0]);
        h.yhe = d(a[1]);
        h.paid = d(a[2]);
        h.payable = h.hjje - h.yhe;
        const auto r = AmountChecks::beforeSave(kind, h, lines);
        QCOMPARE(r ? r->message : QString(), message);
        QCOMPARE(r ? r->field : QString(), field);
    }

    void requiredFieldsInTheKindsOrder_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<QString>("message");
        QTest::newRow("purchase warehouse first") << int(DocType::Purchase) << QStringList{"jsr", "ghs"} << "仓库不可为空！";
        QTest::newRow("purchase handler") << int(DocType::Purchase) << QStringList{"ck", "ghs"} << "经办人不可为空！";
        QTest::newRow("purchase supplier") << int(DocType::Purchase) << QStringList{"ck", "jsr"} << "厂商不可为空！";
        QTest::newRow("sale customer") << int(DocType::Wholesale) << QStringList{"ck", "jsr"} << "客户不可为空！";
        QTest::newRow("transfer source") << int(DocType::Transfer) << QStringList{"ck2", "jsr"} << "调出仓库不可为空！";
        QTest::newRow("transfer target") << int(DocType::Transfer) << QStringList{"ck1", "jsr"} << "调入仓库不可为空！";
        QTest::newRow("adjustment reason") << int(DocType::Adjustment) << QStringList{"ck", "jsr"} << "异动原因不可为空！";
        QTest::newRow("blank is empty") << int(DocType::Adjustment) << QStringList{"ck", "jsr", " lx"} << "异动原因不可为空！";
        // Stock documents have no amount rules: a negative total passes.
        QTest::newRow("adjustment complete") << int(DocType::Adjustment) << QStringList{"ck", "jsr", "lx"} << "";
    }
    void requiredFieldsInTheKindsOrder()
    {
        QFETCH(int, type);
        QFETCH(QStringList, filled);
        QFETCH(QString, message);
        DocumentHeader h;
        h.hjje = d("-30");
        for (const QString &f : filled) {
            const QString col = f.trimmed();
            const QString value = f.startsWith(' ') ? " " : "值";
            if (col == "jsr") h.jsr = value;
            else h.setField(col, value);
        }
        const auto r = AmountChecks::beforeSave(documentKind(DocType(type)), h, 1);
        QCOMPARE(r ? r->message : QString(), message);
    }
};
MARVODA_TEST(TestNumberingAndChecks)
#include "tst_numbering_checks.moc"
