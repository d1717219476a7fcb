#include "master/employee_book.h"
#include "master/partner_book.h"
#include "master/ui/partner_caller.h"
#include "master/ui/tfcxghs1.h"
#include "master/ui/tfcxyg1.h"
#include "master/ui/tfghs1.h"
#include "master/ui/tfghs2.h"
#include "master/ui/tfkh1.h"
#include "master/ui/tfkh2.h"
#include "master/ui/tftjghs1.h"
#include "master/ui/tftjkh1.h"
#include "master/ui/tftjyg1.h"
#include "master/ui/tfyg1.h"
#include "master/ui/tfyg2.h"
#include "master/company_info.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// A document window standing in for the ones that call the pickers.
struct TestCaller : PartnerCaller {
    QList<std::pair<QString, QString>> chosen;
    void partnerChosen(const QString &mark, const QString &name) override { chosen.append({mark, name}); }
};

QPushButton *button(QWidget *w, const QString &text)
{
    for (QPushButton *b : w->findChildren<QPushButton *>())
        if (b->text() == text) return b;
    return nullptr;
}

QLineEdit *edit(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }

// Runs `inside` on the modal dialog of class D once it is showing, then lets the caller go on.
template <class D> void whenModal(std::function<void(D *)> inside)
{
    QTimer::singleShot(0, [inside] {
        auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
        QVERIFY2(d, "the expected dialog is not showing");
        inside(d);
    });
}

QStringList column(Database &db, const QString &sql)
{
    QStringList out;
    QSqlQuery q = db.exec(sql);
    while (q.next()) out << q.value(0).toString();
    return out;
}

PartnerRecord named(const QString &n)
{
    PartnerRecord r;
    r.mc = n;
    return r;
}

EmployeeRecord person(const QString &n)
{
    EmployeeRecord r;
    r.xm = n;
    r.xb = "男";
    return r;
}

} // namespace

class TestPartnerWindows : public QObject {
    Q_OBJECT
private slots:
    void fieldFilters_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("postcode refuses letters") << "TFtjghs1" << "Edit6" << "31a0b0" << "3100";
        QTest::newRow("postcode refuses a seventh digit") << "TFtjkh1" << "Edit6" << "3100123" << "310012";
        QTest::newRow("identity refuses X") << "TFtjyg1" << "Edit7" << "33010219900101123X" << "33010219900101123";
        QTest::newRow("salary falls back to 0, takes one point") << "TFtjyg1" << "Edit6" << ".5.0x" << "0.50";
    }
    void fieldFilters()
    {
        QFETCH(QString, window);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TestBook b;
        std::unique_ptr<QDialog> d;
        if (window == "TFtjghs1") d = std::make_unique<TFtjghs1>();
        else if (window == "TFtjkh1") d = std::make_unique<TFtjkh1>();
        else d = std::make_unique<TFtjyg1>();
        QLineEdit *e = d->findChild<QLineEdit *>(field);
        QVERIFY(e);
        e->clear();
        QTest::keyClicks(e, typed);
        QCOMPARE(e->text(), shown);
    }

    void supplierDialogAddsStaysOpenAndRefuses()
    {
        TestBook b;
        ScriptedPrompter p;
        QVERIFY(!PartnerBook(b.db(), PartnerKind::Supplier).add(named("华新水泥")));
        // The same name in the other book is no obstacle.
        QVERIFY(!PartnerBook(b.db(), PartnerKind::Customer).add(named("O'Neil_50%")));
        TFtjghs1 d;
        d.startAdding();
        QCOMPARE(d.windowTitle(), QString("新增厂商资料"));
        QCOMPARE(d.mode(), QString("新增"));

        edit(&d, "Edit1")->setText("  ");
        d.save();
        QCOMPARE(p.lastKind(), QString("info"));
        QCOMPARE(p.last(), QString("名称不可为空！"));

        edit(&d, "Edit1")->setText("华新水泥");
        d.save();
        QCOMPARE(p.lastKind(), QString("warn"));
        QCOMPARE(p.last(), QString("厂商名称不可重复！"));

        p.clear();
        edit(&d, "Edit1")->setText(" O'Neil_50% ");
        edit(&d, "Edit6")->setText("310012");
        d.save();
        QVERIFY(p.messages().isEmpty());
        QCOMPARE(edit(&d, "Edit1")->text(), QString());
        QCOMPARE(edit(&d, "Edit6")->text(), QString());
        QCOMPARE(column(b.db(), "SELECT mc FROM ghs ORDER BY id"), (QStringList{"华新水泥", "O'Neil_50%"}));
        QCOMPARE(column(b.db(), "SELECT yb FROM ghs ORDER BY id").last(), QString("310012"));
    }

    void listCommands()
    {
        TestBook b;
        ScriptedPrompter p;
        TFkh1 list;
        list.show();
        auto *hj = list.findChild<QLabel *>("HJ");
        QCOMPARE(hj->text(), QString("记录数：0"));
        button(&list, "修改")->click();
        QCOMPARE(p.last(), QString("没有客户可修改！"));
        button(&list, "删除")->click();
        QCOMPARE(p.last(), QString("没有客户可删除！"));

        // "新增": the dialog stays open for two entries, then the list shows both.
        whenModal<TFtjkh1>([](TFtjkh1 *d) {
            QCOMPARE(d->windowTitle(), QString("新增客户资料"));
            for (const char *n : {"甲五金", "乙建材"}) {
                edit(d, "Edit1")->setText(QString::fromUtf8(n));
                d->save();
            }
            d->reject();
        });
        button(&list, "新增")->click();
        QCOMPARE(hj->text(), QString("记录数：2"));

        // "修改" presets the current row and closes after the save.
        list.grid()->setCurrentIndex(list.model()->index(1, 0));
        whenModal<TFtjkh1>([](TFtjkh1 *d) {
            QCOMPARE(d->windowTitle(), QString("修改客户资料"));
            QCOMPARE(edit(d, "Edit1")->text(), QString("乙建材"));
            edit(d, "Edit2")->setText("王五");
            d->save();
            QVERIFY(!d->isVisible());
        });
        button(&list, "修改")->click();
        QCOMPARE(list.model()->text(1, "lxr"), QString("王五"));

        // "查询" with the name box only.
        whenModal<TFcxghs1>([](TFcxghs1 *d) {
            QCOMPARE(d->mode(), QString("kh"));
            edit(d, "Edit1")->setText("建材");
            button(d, "查询")->click();
        });
        button(&list, "查询")->click();
        QCOMPARE(hj->text(), QString("记录数：1"));
        QCOMPARE(list.model()->text(0, "mc"), QString("乙建材"));

        p.answer(false);
        button(&list, "删除")->click();
        QCOMPARE(p.last(), QString("确定要删除此客户么？"));
        QCOMPARE(column(b.db(), "SELECT COUNT(*) FROM kh"), QStringList{"2"});
        p.answer(true);
        button(&list, "删除")->click();
        QCOMPARE(hj->text(), QString("记录数：0"));
        QCOMPARE(column(b.db(), "SELECT mc FROM kh"), QStringList{"甲五金"});
    }

    void closedListRefusesCommands()
    {
        TestBook b;
        ScriptedPrompter p;
        TFghs1 list;   // never shown: nothing queried yet
        for (const char *command : {"新增", "修改", "删除", "打印", "导出", "导入"}) {
            p.clear();
            button(&list, QString::fromUtf8(command))->click();
            QCOMPARE(p.texts(), QStringList{"数据表未打开，请先查询！"});
        }
    }

    void printTitleAndRows()
    {
        TestBook b;
        CompanyInfo info = company::load(b.db());
        info.mczc = "恒通";
        info.mcdy = "恒通建材";
        QVERIFY(!company::save(b.db(), info));
        PartnerRecord r = named("华新水泥");
        r.lxr = "张三";
        r.lxdz = "杭州";
        QVERIFY(!PartnerBook(b.db(), PartnerKind::Supplier).add(r));
        QVERIFY(!EmployeeBook(b.db()).add(person("李四")));

        TFghs1 suppliers;
        suppliers.show();
        ReportData d = suppliers.reportData();
        QCOMPARE(d.title, QString("恒通建材厂商资料表"));
        QCOMPARE(d.rows.size(), 1);
        QCOMPARE(d.rows[0].value("mc"), QString("华新水泥"));
        QCOMPARE(d.rows[0].value("lxdz"), QString("杭州"));

        TFyg1 staff;
        staff.show();
        d = staff.reportData();
        QCOMPARE(d.title, QString("恒通建材员工资料表"));
        QCOMPARE(d.rows[0].value("xb"), QString("男"));
    }

    void pickerWritesTheChoiceForEachMark_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("served");
        QTest::newRow("supplier tjcg") << "TFghs2" << "tjcg" << true;
        QTest::newRow("supplier for a sale") << "TFghs2" << "tjxs" << false;
        QTest::newRow("customer tjxs") << "TFkh2" << "tjxs" << true;
        QTest::newRow("customer tjpf") << "TFkh2" << "tjpf" << true;
        QTest::newRow("customer for a purchase") << "TFkh2" << "tjcg" << false;
        for (const QString &m : EmployeeBook::CallerMarks)
            QTest::newRow(qPrintable("employee " + m)) << "TFyg2" << m << true;
        QTest::newRow("employee unknown mark") << "TFyg2" << "tjxx" << false;
    }
    void pickerWritesTheChoiceForEachMark()
    {
        QFETCH(QString, picker);
        QFETCH(QString, mark);
        QFETCH(bool, served);
        TestBook b;
        ScriptedPrompter p;
        const QStringList names = {"甲'号", "50%水泥", "500水泥", "a_b"};
        for (const QString &n : names) {
            QVERIFY(!PartnerBook(b.db(), PartnerKind::Supplier).add(named(n)));
            QVERIFY(!PartnerBook(b.db(), PartnerKind::Customer).add(named(n)));
            QVERIFY(!EmployeeBook(b.db()).add(person(n)));
        }
        std::unique_ptr<PartnerPicker> d;
        if (picker == "TFghs2") d = std::make_unique<TFghs2>();
        else if (picker == "TFkh2") d = std::make_unique<TFkh2>();
        else d = std::make_unique<TFyg2>();
        TestCaller caller;
        d->setCaller(&caller, mark);
        d->show();
        QCOMPARE(d->model()->rowCount(), 4);
        QTest::keyClicks(d->searchBox(), "50%");
        QCOMPARE(d->model()->rowCount(), 1);
        QTest::keyClick(d->searchBox(), Qt::Key_Return);   // Enter in the search box chooses
        QVERIFY(!d->isVisible());
        using Chosen = QList<std::pair<QString, QString>>;
        const Chosen expected = served ? Chosen{{mark, "50%水泥"}} : Chosen{};
        QCOMPARE(caller.chosen, expected);
    }

    void pickerSearchesAndRefusesAnEmptyChoice_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("quote") << "'" << QStringList{"甲'号"};
        QTest::newRow("underscore") << "_" << QStringList{"a_b"};
        QTest::newRow("nothing") << "zz" << QStringList{};
    }
    void pickerSearchesAndRefusesAnEmptyChoice()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        TestBook b;
        ScriptedPrompter p;
        for (const char *n : {"甲'号", "axb", "a_b"}) QVERIFY(!EmployeeBook(b.db()).add(person(QString::fromUtf8(n))));
        TFyg2 d;
        TestCaller caller;
        d.setCaller(&caller, "tjszfx");
        d.show();
        QTest::keyClicks(d.searchBox(), typed);
        QStringList got;
        for (int r = 0; r < d.model()->rowCount(); ++r) got << d.model()->text(r, "xm");
        QCOMPARE(got, shown);
        QVERIFY(p.messages().isEmpty());
        if (shown.isEmpty()) {
            button(&d, "选择")->click();
            QCOMPARE(p.last(), QString("没有员工可选择！"));
            QVERIFY(caller.chosen.isEmpty());
            QVERIFY(d.isVisible());
        }
    }

    void pickerAddsANewPartner()
    {
        TestBook b;
        ScriptedPrompter p;
        TFghs2 d;
        d.show();
        QCOMPARE(d.model()->rowCount(), 0);
        whenModal<TFtjghs1>([](TFtjghs1 *dlg) {
            QCOMPARE(dlg->mode(), QString("新增"));
            edit(dlg, "Edit1")->setText("新厂");
            dlg->save();
            dlg->reject();
        });
        button(&d, "新增")->click();
        QCOMPARE(d.model()->rowCount(), 1);
        QCOMPARE(d.model()->text(0, "mc"), QString("新厂"));
    }

    void employeeDialogAndQuery()
    {
        TestBook b;
        ScriptedPrompter p;
        TFyg1 list;
        list.show();
        whenModal<TFtjyg1>([&p](TFtjyg1 *d) {
            QCOMPARE(d->windowTitle(), QString("新增员工资料"));
            QCOMPARE(edit(d, "Edit6")->text(), QString("0"));
            edit(d, "Edit1")->setText("张三");
            d->save();
            QCOMPARE(p.last(), QString("性别不可为空！"));
            auto *sex = d->findChild<QComboBox *>("ComboBox1");
            sex->setCurrentText("女");
            edit(d, "Edit6")->setText("3500.456");
            d->save();
            // Fields emptied, salary back to 0, the sex kept for the next one.
            QCOMPARE(edit(d, "Edit1")->text(), QString());
            QCOMPARE(edit(d, "Edit6")->text(), QString("0"));
            QCOMPARE(sex->currentText(), QString("女"));
            edit(d, "Edit1")->setText("李四");
            sex->setCurrentText("男");
            d->save();
            d->reject();
        });
        button(&list, "新增")->click();
        QCOMPARE(list.model()->rowCount(), 2);
        QCOMPARE(list.model()->decimal(0, "jbgz").toFixed2(), QString("3500.46"));

        whenModal<TFcxyg1>([](TFcxyg1 *d) {
            d->findChild<QComboBox *>("ComboBox1")->setCurrentIndex(1);
            button(d, "查询")->click();
        });
        button(&list, "查询")->click();
        QCOMPARE(list.findChild<QLabel *>("HJ")->text(), QString("记录数：1"));
        QCOMPARE(list.model()->text(0, "xm"), QString("李四"));
    }
};

MARVODA_TEST(TestPartnerWindows)
#include "tst_partners.moc"
