#include "app/session.h"
#include "app/ui/tfmain1.h"
#include "app/widgets/record_table_model.h"
#include "finance/ui/analysis_commands.h"
#include "finance/ui/tfcghz1.h"
#include "finance/ui/tfcgfx1.h"
#include "finance/ui/tfsztj1.h"
#include "finance/ui/tfxsfx1.h"
#include "finance/ui/tfxshz1.h"
#include "finance/ui/tfxstj3.h"
#include "ledger_rows.h"
#include "master/ui/ledger_query_dialog.h"
#include "print/print_layouts.h"
#include "print/ui/tfdypreview1.h"
#include "scripted_prompter.h"
#include "tab_order.h"
#include "test_book.h"
#include "test_main.h"
#include "when_modal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using ledger_rows::add;

namespace {

void click(QWidget *w, const char *name) { w->findChild<QPushButton *>(QString::fromLatin1(name))->click(); }

QStringList column(RecordTableModel *m, const char *field)
{
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) out << m->text(r, QString::fromLatin1(field));
    return out;
}

void sale(const char *rq, const char *kh, const char *jsr, const char *sl, const char *je, const char *cbje)
{
    const Decimal profit = Decimal::parseOr0(QString::fromUtf8(je)) - Decimal::parseOr0(QString::fromUtf8(cbje));
    add(book(), "xsfx", {{"rq", rq}, {"kh", kh}, {"jsr", jsr}, {"ck", "一号库"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"},
                         {"sl", sl}, {"je", je}, {"cbje", cbje}, {"maoli", profit.toPlain()}});
}

bool costColumnsHidden(LedgerReportWindow *w, const char *cost, const char *profit)
{
    return w->grid()->isColumnHidden(w->model()->columnOf(cost)) && w->grid()->isColumnHidden(w->model()->columnOf(profit));
}

} // namespace

class TestAnalysisWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PrintLayouts::createAll(); }

    // The analyses open from their menu commands for the operator holding their permission.
    void commandsOpenTheirWindows()
    {
        TestBook b;
        ScriptedPrompter p;
        b.db().insert("yhsz", {{"yhmc", "会计"}, {"yhmm", ""}});
        b.db().insert("quanxian", {{"yh", "会计"}, {"qx", "销售查询"}});
        TFmain1 main;
        registerAnalysisCommands(main);
        main.formShow("会计");
        for (const char *c : {"采购明细表", "采购统计表", "进销存财综合统计表", "销售明细表", "销售统计表", "员工提成表"})
            main.perform(QString::fromUtf8(c));
        QVERIFY(!main.findChild<TFcgfx1 *>());
        QVERIFY(!main.findChild<TFcghz1 *>());
        QVERIFY(!main.findChild<TFsztj1 *>());
        QVERIFY(main.findChild<TFxsfx1 *>());
        QVERIFY(main.findChild<TFxshz1 *>());
        QVERIFY(main.findChild<TFxstj3 *>());
        b.db().insert("quanxian", {{"yh", "会计"}, {"qx", "采购查询"}});
        b.db().insert("quanxian", {{"yh", "会计"}, {"qx", "财务管理"}});
        main.formShow("会计");
        for (const char *c : {"采购明细表", "采购统计表", "进销存财综合统计表"}) main.perform(QString::fromUtf8(c));
        QVERIFY(main.findChild<TFcgfx1 *>());
        QVERIFY(main.findChild<TFcghz1 *>());
        QVERIFY(main.findChild<TFsztj1 *>());
    }

    // Cost and gross profit belong to the administrator: another operator sees neither the
    // columns nor their totals, in the statistics and in the detail reached from them.
    void costOnlyForTheAdministrator_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<bool>("sees");
        QTest::newRow("administrator") << "系统管理员" << true;
        QTest::newRow("cashier") << "收银员" << false;
    }
    void costOnlyForTheAdministrator()
    {
        QFETCH(QString, who);
        QFETCH(bool, sees);
        TestBook b;
        ScriptedPrompter p;
        session::current().stYhm1 = who;
        sale("2025-03-01", "甲", "张三", "10", "100", "60");
        sale("2025-03-02", "乙", "李四", "-1", "-10", "-6");
        TFmain1 main;
        auto *stats = main.openChild<TFxshz1>();
        QCOMPARE(stats->totalText(0), QString());   // blank until computed
        stats->computeStatistics(LedgerFilter{}, LedgerGrouping::Party);
        QCOMPARE(costColumnsHidden(stats, "zcb", "zmaoli"), !sees);
        QCOMPARE(stats->totalText(0), QString("9"));
        QCOMPARE(stats->totalText(1), QString("90"));
        QCOMPARE(stats->totalText(2), sees ? QString("54") : QString());
        QCOMPARE(stats->totalText(3), sees ? QString("36") : QString());
        // Nothing of cost or profit goes to the print.
        const ReportData printed = stats->reportData();
        QCOMPARE(printed.fields, (QStringList{"txm", "ppgg", "dw", "zsl", "zje"}));

        stats->grid()->setCurrentIndex(stats->model()->index(1, 0));   // 甲
        click(stats, "SB66");
        auto *detail = main.findChild<TFxsfx1 *>();
        QVERIFY(detail);
        QCOMPARE(column(detail->model(), "kh"), QStringList{"甲"});
        QCOMPARE(costColumnsHidden(detail, "cbje", "maoli"), !sees);
        QCOMPARE(detail->totalText(2), sees ? QString("60") : QString());
        QCOMPARE(detail->totalText(3), sees ? QString("40") : QString());
    }

    // Opening the statistics dialog, and each choice of grouping, empties the window before
    // anything is computed; the group column follows the choice.
    void groupingEmptiesTheStatistics()
    {
        TestBook b;
        ScriptedPrompter p;
        add(b.db(), "cgfx", {{"rq", "2025-03-01"}, {"ghs", "华新"}, {"jsr", "张三"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "-3"}, {"je", "-30"}});
        TFcghz1 w;
        w.show();
        w.computeStatistics(LedgerFilter{}, LedgerGrouping::None);
        QCOMPARE(w.totalText(0), QString("-3"));
        QCOMPARE(w.model()->data(w.model()->index(0, 0), Qt::ForegroundRole), QVariant(QColor(Qt::red)));
        whenModal<LedgerQueryDialog>([&w](LedgerQueryDialog *d) {
            QVERIFY(!w.model()->isOpen());
            QCOMPARE(w.totalText(0), QString("0"));
            d->findChild<QRadioButton *>("RB3")->click();
            QCOMPARE(w.model()->headerData(w.model()->columnOf("fenzu"), Qt::Horizontal).toString(), QString("经办人"));
            d->findChild<QRadioButton *>("RB2")->click();
            QCOMPARE(w.model()->headerData(w.model()->columnOf("fenzu"), Qt::Horizontal).toString(), QString("厂商"));
            d->findChild<QComboBox *>("ComboBox1")->setCurrentIndex(2);   // 采购退货
            QTest::keyClicks(d->findChild<QLineEdit *>("Edit1"), "hua");   // no supplier "hua"
            d->findChild<QLineEdit *>("Edit1")->clear();
            QTest::keyClick(d->findChild<QLineEdit *>("Edit5"), Qt::Key_Return);   // Enter in the last box computes
        });
        click(&w, "SB77");
        QCOMPARE(column(w.model(), "fenzu"), QStringList{"华新"});
        QVERIFY(!w.grid()->isColumnHidden(w.model()->columnOf("fenzu")));
        QCOMPARE(p.last(), QString("统计完毕！"));
    }

    // A list longer than the first screen: the totals count every group at once, the rest of
    // the rows follows while the window waits, and the print holds every row.
    void longStatisticsCompleteBehindTheFirstScreen()
    {
        TestBook b;
        ScriptedPrompter p;
        const int groups = RecordTableModel::FirstScreen + 20;
        {
            Transaction tx(b.db());
            for (int i = 0; i < groups; ++i)
                add(b.db(), "cgfx", {{"rq", "2025-03-01"}, {"ghs", "华新"}, {"txm", QString::number(100000 + i)},
                                     {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "2"}, {"je", "3"}});
            tx.commit();
        }
        TFcghz1 w;
        w.show();
        w.computeStatistics(LedgerFilter{}, LedgerGrouping::None);
        QCOMPARE(w.totalText(0), QString::number(2 * groups));
        QCOMPARE(w.totalText(1), QString::number(3 * groups));
        QTRY_COMPARE(w.model()->rowCount(), groups);
        QCOMPARE(w.model()->text(groups - 1, "txm"), QString::number(100000 + groups - 1));

        w.computeStatistics(LedgerFilter{}, LedgerGrouping::None);   // printed before the rest came
        QCOMPARE(w.reportData().rows.size(), groups);
    }

    // Purchases and sales stand the dates and the type above the boxes and the grouping below;
    // Enter walks on into the boxes, runs in the last, and leads from the grouping to the first box.
    void statisticsDialogFieldOrder()
    {
        TestBook b;
        ScriptedPrompter p;
        TFcghz1 w;
        w.show();
        whenModal<LedgerQueryDialog>([](LedgerQueryDialog *d) {
            QApplication::setActiveWindow(d);
            QCOMPARE(tabOrder(d, reportQueryFields()), (QStringList{"CheckBox1", "DateTimePicker1", "DateTimePicker2", "ComboBox1", "Edit1", "Edit2",
                                               "Edit3", "Edit4", "Edit5", "RB1", "RB2", "RB3"}));
            d->findChild<QWidget *>("ComboBox1")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), d->findChild<QWidget *>("Edit1"));
            d->findChild<QWidget *>("RB1")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), d->findChild<QWidget *>("Edit1"));
            d->reject();
        });
        click(&w, "SB77");
    }

    // The purchase detail dialog keeps its dates in order; the sales one leaves them alone.
    void datePairRule()
    {
        TestBook b;
        TFcgfx1 purchases;
        whenModal<LedgerQueryDialog>([](LedgerQueryDialog *d) {
            auto *from = d->findChild<QDateEdit *>("DateTimePicker1");
            auto *to = d->findChild<QDateEdit *>("DateTimePicker2");
            QCOMPARE(to->date(), QDate::currentDate());
            QCOMPARE(from->date(), QDate::currentDate().addMonths(-1));
            from->setDate(QDate::currentDate().addDays(3));
            QCOMPARE(to->date(), QDate::currentDate().addDays(3));
            d->reject();
        });
        click(&purchases, "SB77");
        TFxsfx1 sales;
        whenModal<LedgerQueryDialog>([](LedgerQueryDialog *d) {
            d->findChild<QDateEdit *>("DateTimePicker1")->setDate(QDate::currentDate().addDays(3));
            QCOMPARE(d->findChild<QDateEdit *>("DateTimePicker2")->date(), QDate::currentDate());
            d->reject();
        });
        click(&sales, "SB77");
    }

    void commissionWindow()
    {
        TestBook b;
        ScriptedPrompter p;
        TFxstj3 w;
        QCOMPARE(w.totalText(2), QString("0.00"));
        click(&w, "BB2");
        QCOMPARE(p.last(), QString("数据表未打开，请先统计！"));
        click(&w, "BB1");   // an empty book computes to an empty, printable table
        QCOMPARE(p.last(), QString("统计完毕！"));
        QVERIFY(w.model()->isOpen());
        QCOMPARE(w.totalText(2), QString("0"));

        add(b.db(), "sp", {{"ck", "一号库"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"slt", "0.5"}, {"jet", "0.1"}});
        sale("2025-03-01", "甲", "张三", "-2", "-20", "-12");
        click(&w, "BB1");
        QCOMPARE(column(w.model(), "yuangong"), QStringList{"张三"});
        QCOMPARE(w.totalText(2), QString("-3"));
        QCOMPARE(w.model()->data(w.model()->index(0, 0), Qt::ForegroundRole), QVariant(QColor(Qt::red)));
    }

    // The combined figures as computed, and printed as they stand with the period line of the
    // date box.
    void combinedStatisticsWindow()
    {
        TestBook b;
        ScriptedPrompter p;
        sale("2025-03-01", "甲", "张三", "10", "100", "60");
        add(b.db(), "szfx", {{"rq", "2025-03-01"}, {"se", "5"}, {"ze", "7.5"}});
        TFsztj1 w;
        QCOMPARE(w.figure("xsje"), QString("0"));
        click(&w, "BB1");
        QCOMPARE(p.last(), QString("统计完毕！"));
        QCOMPARE(w.figure("xsje"), QString("100"));
        QCOMPARE(w.figure("sz"), QString("-2.5"));

        w.dates().box->setChecked(true);
        w.dates().from->setDate(QDate(2025, 1, 1));
        w.dates().to->setDate(QDate(2025, 1, 31));
        whenModal<TFdyPreview1>([](TFdyPreview1 *d) {
            d->buildAll();
            QStringList texts;
            for (const PrintedPage &page : d->report().pages)
                for (const PageText &t : page.texts) texts << t.text;
            QVERIFY(texts.contains("统计日期：2025-01-01至2025-01-31"));
            QVERIFY2(texts.join('|').contains("100"), qPrintable(texts.join('|')));   // not computed again
            d->close();
        });
        click(&w, "BB2");
    }
};

MARVODA_TEST(TestAnalysisWindows)
#include "tst_analysis_windows.moc"
