#include "app/session.h"
#include "app/ui/tfmain1.h"
#include "master/company_info.h"
#include "master/ui/tfdanwei1.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestCompanyWindow : public QObject {
    Q_OBJECT
private slots:
    void titleFollowsTheStoredName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("company");   // what the title shows afterwards
        QTest::newRow("saved with trailing blanks") << "恒通建材  " << true << "恒通建材  ";
        QTest::newRow("closed without saving") << "恒通建材" << false << "";
        QTest::newRow("blank name refused") << "   " << true << "";
    }
    void titleFollowsTheStoredName()
    {
        QFETCH(QString, typed);
        QFETCH(bool, save);
        QFETCH(QString, company);
        TestBook b;
        ScriptedPrompter p;
        TFmain1 main;
        main.setWindowTitle("stale");
        TFdanwei1 d(&main);
        d.show();
        QCOMPARE(d.findChild<QLineEdit *>("Edit1")->text(), QString());   // a new book's empty name
        d.findChild<QLineEdit *>("Edit1")->setText(typed);
        d.findChild<QLineEdit *>("Edit2")->setText("恒通");
        d.findChild<QLineEdit *>("Edit10")->setText(" 谢谢惠顾 ");
        if (save) d.save();
        if (d.isVisible()) d.reject();
        QCOMPARE(main.windowTitle(), session::mainTitle(company));
        QVERIFY(main.windowTitle().endsWith(QString("［使用单位：") + company + "］"));
        QCOMPARE(company::load(b.db()).bz4, QString(company.isEmpty() ? "" : " 谢谢惠顾 "));
        if (typed.trimmed().isEmpty()) QCOMPARE(p.last(), QString("店铺名称不可为空！"));
    }

    void showsTheStoredRowAndRefusesABlankHeading()
    {
        TestBook b;
        ScriptedPrompter p;
        CompanyInfo info;
        for (const QString &c : CompanyInfo::columns()) info.setValue(c, c + "'值");
        QVERIFY(!company::save(b.db(), info));
        TFdanwei1 d;
        d.show();
        for (int i = 0; i < 10; ++i)
            QCOMPARE(d.findChild<QLineEdit *>(QString("Edit%1").arg(i + 1))->text(), info.value(CompanyInfo::columns()[i]));
        d.findChild<QLineEdit *>("Edit2")->clear();
        d.save();
        QCOMPARE(p.last(), QString("打印抬头不可为空！"));
        QVERIFY(d.isVisible());
        QCOMPARE(company::load(b.db()).mcdy, info.mcdy);
    }
};

MARVODA_TEST(TestCompanyWindow)
#include "tst_company.moc"
