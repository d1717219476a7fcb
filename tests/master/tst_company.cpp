#include "master/company_info.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

class TestCompany : public QObject {
    Q_OBJECT
private slots:
    void savesEveryTextAsTyped()
    {
        TestBook b;
        CompanyInfo info;
        int n = 0;
        for (const QString &c : CompanyInfo::columns()) info.setValue(c, QString(" %1'%2 ").arg(c).arg(++n));
        info.mczc = "恒通建材  ";
        QVERIFY(!company::save(b.db(), info));
        const CompanyInfo back = company::load(b.db());
        for (const QString &c : CompanyInfo::columns()) QCOMPARE(back.value(c), info.value(c));
        QCOMPARE(company::printHeading(b.db()), info.mcdy);
    }

    void requiredTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        QTest::newRow("blank name") << "  " << "恒通" << "店铺名称不可为空！" << "mczc";
        QTest::newRow("both blank: name first") << "" << "" << "店铺名称不可为空！" << "mczc";
        QTest::newRow("blank heading") << "恒通" << "　" << "打印抬头不可为空！" << "mcdy";
    }
    void requiredTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, heading);
        QFETCH(QString, message);
        QFETCH(QString, field);
        TestBook b;
        CompanyInfo before;
        before.mczc = "旧名";
        before.mcdy = "旧抬头";
        QVERIFY(!company::save(b.db(), before));

        CompanyInfo info = before;
        info.mczc = name;
        info.mcdy = heading;
        info.bz3 = "不应写入";
        const auto refused = company::save(b.db(), info);
        QVERIFY(refused);
        QCOMPARE(refused->message, message);
        QCOMPARE(refused->field, field);
        const CompanyInfo after = company::load(b.db());
        QCOMPARE(after.mczc, QString("旧名"));
        QCOMPARE(after.bz3, QString());
    }
};

MARVODA_TEST(TestCompany)
#include "tst_company.moc"
