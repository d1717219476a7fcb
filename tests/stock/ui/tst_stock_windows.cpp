#include "app/session.h"
#include "app/ui/tfmain1.h"
#include "app/widgets/record_table_model.h"
#include "ledger_rows.h"
#include "master/company_info.h"
#include "master/ui/goods_category_tree.h"
#include "master/ui/ledger_query_dialog.h"
#include "master/ui/tfsp3.h"
#include "print/print_layouts.h"
#include "print/ui/tfdypreview1.h"
#include "scripted_prompter.h"
#include "tab_order.h"
#include "stock/ui/tfchai1.h"
#include "stock/ui/tfkcfx1.h"
#include "stock/ui/tfkctj1.h"
#include "stock/ui/tfrkfx1.h"
#include "stock/ui/tfrkhz1.h"
#include "stock/ui/stock_report_commands.h"
#include "stock/ui/tfzu1.h"
#include "test_book.h"
#include "test_main.h"
#include "when_modal.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using ledger_rows::add;

namespace {

void click(QWidget *w, const char *name) { w->findChild<QPushButton *>(QString::fromLatin1(name))->click(); }

qint64 goods(const char *lb, const char *txm, const char *kcsl, const char *kcjg = "2", const char *ck = "一号库")
{
    const Decimal q = Decimal::parseOr0(QString::fromUtf8(kcsl)), p = Decimal::parseOr0(QString::fromUtf8(kcjg));
    return add(book(), "sp", {{"ck", ck}, {"lb", lb}, {"txm", txm}, {"ppgg", QStringLiteral("品") + txm}, {"dw", "个"},
                              {"kcsl", kcsl}, {"kcjg", kcjg}, {"kcje", (q * p).round2().toPlain()}});
}

void operatorHolds(bool prices, bool zeroing, const QString &name = "系统管理员")
{
    session::current().stYhm1 = name;
    session::current().stkcjg = prices ? "显示价格" : "不显价格";
    session::current().stkcsc = zeroing ? "归零" : "不归零";
}

QStringList column(RecordTableModel *m, const char *field)
{
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) out << m->text(r, QString::fromLatin1(field));
    return out;
}

QStringList previewTexts(TFdyPreview1 *p)
{
    p->buildAll();
    QStringList out;
    for (const PrintedPage &page : p->report().pages)
        for (const PageText &t : page.texts) out << t.text;
    return out;
}

} // namespace

class TestStockWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PrintLayouts::createAll(); }

    // Each report opens from its menu command for an operator holding "变动查询"; the stock
    // detail and goods statistics are open to everyone.
    void commandsOpenTheirWindows()
    {
        TestBook b;
        ScriptedPrompter p;
        b.db().insert("yhsz", {{"yhmc", "仓管员"}, {"yhmm", ""}});
        TFmain1 main;
        registerStockReportCommands(main);
        main.formShow("仓管员");   // no permission at all
        main.perform("变动明细表");
        QVERIFY(!main.findChild<TFrkfx1 *>());
        main.perform("商品库存明细表");
        main.perform("商品进销存统计表");
        QVERIFY(main.findChild<TFkcfx1 *>());
        QVERIFY(main.findChild<TFkctj1 *>());
        b.db().insert("quanxian", {{"yh", "仓管员"}, {"qx", "变动查询"}});
        main.formShow("仓管员");
        main.perform("变动明细表");
        main.perform("变动统计表");
        QVERIFY(main.findChild<TFrkfx1 *>());
        QVERIFY(main.findChild<TFrkhz1 *>());
    }

    // Zeroing after a category click zeroes exactly the rows shown; other categories keep their
    // stock, and the totals read 0.
    void zeroingActsOnTheShownCategory()
    {
        TestBook b;
        ScriptedPrompter p;
        operatorHolds(true, true);
        b.db().insert("lb", {{"lb", "钢材"}});
        b.db().insert("lb", {{"lb", "水泥"}});
        const qint64 steel = goods("钢材", "GG", "5");
        goods("水泥", "SN", "7");
        TFkcfx1 w;
        QCOMPARE(w.quantityText(), QString("12"));
        QCOMPARE(w.valueText(), QString("24"));
        w.showCategory("钢材");
        QCOMPARE(w.quantityText(), QString("5"));

        p.answer(false);   // the question answered with Cancel changes nothing
        click(&w, "SB55");
        QCOMPARE(p.lastKind(), QString("confirm"));
        QVERIFY(p.last().startsWith("确定要归零本批库存么？\n\n1、"));
        QCOMPARE(w.model()->text(0, "kcsl"), QString("5.00"));

        p.answer(true);
        click(&w, "SB55");
        QCOMPARE(column(w.model(), "kcsl"), QStringList{"0.00"});
        QCOMPARE(w.quantityText(), QString("0"));
        QCOMPARE(w.valueText(), QString("0"));
        w.showCategory(QString());
        QCOMPARE(column(w.model(), "kcsl"), (QStringList{"0.00", "7.00"}));
        QCOMPARE(w.model()->integer(0, "id"), steel);
    }

    // Zeroing a batch chosen by "库存＞0" leaves the batch on screen at 0 rather than running the
    // query again, which would now find none of it.
    void zeroedBatchStaysInView()
    {
        TestBook b;
        ScriptedPrompter p;
        operatorHolds(true, true);
        goods("钢材", "GG", "5", "3");
        goods("钢材", "JG", "0");
        goods("水泥", "SN", "7");
        TFkcfx1 w;
        GoodsFilter positive;
        positive.stock = GoodsFilter::Positive;
        w.applyStockFilter(positive, "12", "29");
        w.model()->sort(w.model()->columnOf("txm"), Qt::DescendingOrder);
        p.answer(true);
        click(&w, "SB55");
        QCOMPARE(column(w.model(), "txm"), (QStringList{"SN", "GG"}));
        QCOMPARE(column(w.model(), "kcsl"), (QStringList{"0.00", "0.00"}));
        QCOMPARE(column(w.model(), "kcje"), (QStringList{"0.00", "0.00"}));
        QCOMPARE(column(w.model(), "kcjg"), (QStringList{"2.00", "3.00"}));   // the unit cost stays
        QCOMPARE(w.model()->data(w.model()->index(0, 0), Qt::ForegroundRole), QVariant(QColor(Qt::red)));
        QSqlQuery q = b.db().exec("SELECT txm, kcsl FROM sp ORDER BY id");
        QStringList stock;
        while (q.next()) stock << q.value(0).toString() + "=" + Decimal::fromRaw(q.value(1).toLongLong()).toPlain();
        QCOMPARE(stock, (QStringList{"GG=0", "JG=0", "SN=0"}));
    }

    // Without "显示库存价格" the operator sees no unit cost or value and may not print with
    // prices or assemble; without "库存归零" no zeroing.
    void withoutPricesOrZeroing()
    {
        TestBook b;
        ScriptedPrompter p;
        operatorHolds(false, false, "收银员");
        goods("钢材", "GG", "5");
        TFkcfx1 w;
        w.show();
        QVERIFY(w.grid()->isColumnHidden(w.model()->columnOf("kcjg")));
        QVERIFY(w.grid()->isColumnHidden(w.model()->columnOf("kcje")));
        QCOMPARE(w.quantityText(), QString("5"));
        QCOMPARE(w.valueText(), QString());
        w.showCategory(QString());
        QCOMPARE(w.valueText(), QString());

        click(&w, "SB55");
        w.printWithPrices();
        click(&w, "SB44");
        click(&w, "SB33");
        QCOMPARE(p.texts(), (QStringList{"你无权归零库存！", "库存价格未显示，不可打印！", "库存价格未显示，不可组装！",
                                         "库存价格未显示，不可拆零！"}));
        // Printing without prices works: quantities and the two selling prices.
        whenModal<TFdyPreview1>([](TFdyPreview1 *d) {
            const QStringList texts = previewTexts(d);
            QVERIFY(texts.contains("批发单价"));
            QVERIFY(!texts.contains("库存单价"));
            QVERIFY(texts.contains("5.00"));
            d->close();
        });
        w.printWithoutPrices();
    }

    // Rows with stock at or below zero stand out in red; an empty list prints nothing.
    void abnormalStockInRed()
    {
        TestBook b;
        ScriptedPrompter p;
        operatorHolds(true, false);
        goods("钢材", "A", "0");
        goods("钢材", "B", "1");
        goods("钢材", "C", "-1");
        TFkcfx1 w;
        auto red = [&](int row) { return w.model()->data(w.model()->index(row, 0), Qt::ForegroundRole) == QColor(Qt::red); };
        QVERIFY(red(0));
        QVERIFY(!red(1));
        QVERIFY(red(2));
        w.showCategory("木材");
        w.printWithPrices();
        QCOMPARE(p.last(), QString("没有数据可打印，请先查询！"));
    }

    // The goods statistics: Enter in the filter computes; the totals are the balances.
    void goodsStatisticsWindow()
    {
        TestBook b;
        ScriptedPrompter p;
        add(b.db(), "cgfx", {{"rq", "2025-03-01"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "10"}, {"je", "200"}});
        add(b.db(), "xsfx", {{"rq", "2025-03-02"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "12"}, {"je", "300"}});
        add(b.db(), "cgfx", {{"rq", "2025-03-01"}, {"txm", "GG"}, {"ppgg", "钢管"}, {"dw", "根"}, {"sl", "1"}, {"je", "9"}});
        TFkctj1 w;
        w.show();
        click(&w, "BB2");
        QCOMPARE(p.last(), QString("统计表未打开，请先统计！"));
        QCOMPARE(w.quantityText(), QString("0"));
        QTest::keyClicks(w.filterEdit(), "SN");
        QTest::keyClick(w.filterEdit(), Qt::Key_Return);
        QCOMPARE(column(w.model(), "ysl"), QStringList{"-2.00"});
        QCOMPARE(w.valueText(), QString("-100"));
        QCOMPARE(w.model()->data(w.model()->index(0, 0), Qt::ForegroundRole), QVariant(QColor(Qt::red)));
    }

    // Goods statistics longer than the first screen: the totals count every goods item at
    // once, the rest of the rows follows while the window waits, and a print made before the
    // rest came holds every row.
    void longGoodsStatisticsCompleteBehindTheFirstScreen()
    {
        TestBook b;
        ScriptedPrompter p;
        const int items = RecordTableModel::FirstScreen + 20;
        {
            Transaction tx(b.db());
            for (int i = 0; i < items; ++i) {
                const QString txm = QString::number(100000 + i);
                add(b.db(), "cgfx", {{"rq", "2025-03-01"}, {"txm", txm}, {"ppgg", "砖" + txm}, {"dw", "块"}, {"sl", "3"}, {"je", "6"}});
                add(b.db(), "xsfx", {{"rq", "2025-03-02"}, {"txm", txm}, {"ppgg", "砖" + txm}, {"dw", "块"}, {"sl", "1"}, {"je", "4"}});
            }
            tx.commit();
        }
        TFkctj1 w;
        w.show();
        QTest::keyClick(w.filterEdit(), Qt::Key_Return);
        QCOMPARE(w.quantityText(), QString::number(2 * items));
        QCOMPARE(w.valueText(), QString::number(2 * items));
        QTRY_COMPARE(w.model()->rowCount(), items);
        QCOMPARE(w.model()->text(items - 1, "txm"), QString::number(100000 + items - 1));

        QTest::keyClick(w.filterEdit(), Qt::Key_Return);
        QCOMPARE(w.model()->rowCount(), int(RecordTableModel::FirstScreen));
        whenModal<TFdyPreview1>([&](TFdyPreview1 *d) {
            QVERIFY(previewTexts(d).contains("砖" + QString::number(100000 + items - 1)));
            d->close();
        });
        click(&w, "BB2");
    }

    // The change summary grouped by reason, its drill-down to the change detail (the group kept,
    // the dates dropped), and the group column's title following the radio buttons.
    void changeSummaryDrillsDown()
    {
        TestBook b;
        ScriptedPrompter p;
        operatorHolds(true, true);
        CompanyInfo info = company::load(b.db());
        info.mczc = "恒通";
        info.mcdy = "恒通建材";
        QVERIFY(!company::save(b.db(), info));
        for (const auto &[rq, lx, sl] : {std::tuple{"2025-03-04", "库存调出", "5"}, std::tuple{"2025-03-04", "库存调入", "5"},
                                         std::tuple{"2024-01-09", "库存调出", "2"}, std::tuple{"2025-03-05", "盘亏", "-1"}})
            add(b.db(), "rkfx", {{"rq", rq}, {"lx", lx}, {"sl", sl}, {"je", sl}, {"txm", "GG"}, {"ppgg", "钢管"}, {"dw", "根"}, {"jsr", "李四"}});
        TFmain1 main;
        auto *summary = main.openChild<TFrkhz1>();
        QCOMPARE(summary->totalText(0), QString("0"));
        QVERIFY(summary->grid()->isColumnHidden(summary->model()->columnOf("fenzu")));

        whenModal<LedgerQueryDialog>([summary](LedgerQueryDialog *d) {
            QCOMPARE(d->objectName(), QString("TFcxrkhz1"));
            QVERIFY(!d->findChild<QLineEdit *>("Edit5"));   // no warehouse box in the summary dialog
            d->findChild<QRadioButton *>("RB2")->click();
            QVERIFY(!summary->model()->isOpen());
            QVERIFY(!summary->grid()->isColumnHidden(summary->model()->columnOf("fenzu")));
            QCOMPARE(summary->model()->headerData(summary->model()->columnOf("fenzu"), Qt::Horizontal).toString(), QString("异动原因"));
            d->findChild<QCheckBox *>("CheckBox1")->setChecked(true);
            d->findChild<QDateEdit *>("DateTimePicker1")->setDate(QDate(2025, 3, 1));
            d->findChild<QDateEdit *>("DateTimePicker2")->setDate(QDate(2025, 3, 31));
            d->findChild<QPushButton *>("BitBtn1")->click();
        });
        click(summary, "SB77");
        QCOMPARE(p.last(), QString("统计完毕！"));
        QCOMPARE(column(summary->model(), "fenzu"), (QStringList{"库存调入", "库存调出", "盘亏"}));
        QCOMPARE(summary->totalText(0), QString("9"));
        QCOMPARE(summary->reportData().title, QString("恒通建材库存变动统计表"));

        summary->grid()->setCurrentIndex(summary->model()->index(1, 0));
        click(summary, "SB66");
        auto *detail = main.findChild<TFrkfx1 *>();
        QVERIFY(detail);
        QCOMPARE(column(detail->model(), "rq"), (QStringList{"2025-03-04", "2024-01-09"}));
        QCOMPARE(detail->totalText(0), QString("7"));
    }

    void nothingToDrillOrPrint()
    {
        TestBook b;
        ScriptedPrompter p;
        TFrkhz1 summary;
        click(&summary, "SB66");
        click(&summary, "SB88");
        click(&summary, "SB99");
        QCOMPARE(p.texts(), (QStringList{"数据表未打开，请先统计！", "数据表未打开，请先统计！", "数据表未打开，请先统计！"}));
        p.clear();
        summary.computeStatistics(LedgerFilter{}, LedgerGrouping::None);
        click(&summary, "SB66");
        QCOMPARE(p.texts(), (QStringList{"统计完毕！", "没有数据可查阅！"}));
    }

    // The change detail opens on today's movements.
    void changeDetailOpensOnToday()
    {
        TestBook b;
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        add(b.db(), "rkfx", {{"rq", today}, {"sl", "-3"}, {"je", "-6"}, {"txm", "A"}, {"lx", "盘亏"}});
        add(b.db(), "rkfx", {{"rq", "2020-01-01"}, {"sl", "4"}, {"je", "8"}, {"txm", "B"}, {"lx", "盘盈"}});
        TFrkfx1 w;
        w.show();
        QCOMPARE(column(w.model(), "txm"), QStringList{"A"});
        QCOMPARE(w.totalText(0), QString("-3"));
        QCOMPARE(w.totalText(1), QString("-6"));
        QCOMPARE(w.model()->data(w.model()->index(0, 1), Qt::ForegroundRole), QVariant(QColor(Qt::red)));
    }

    // Typing the whole's code shows its stored parts for the quantity typed; confirming changes
    // the stock and readies the window for the next whole, keeping the warehouses.
    void assemblyWindowByKeyboard()
    {
        TestBook b;
        ScriptedPrompter p;
        operatorHolds(true, true);
        const qint64 whole = goods("整件", "W", "0", "10");
        const qint64 part = goods("零件", "P", "20", "1");
        b.db().insert("zu", {{"spid1", whole}, {"spid2", part}, {"xs", Decimal(2).raw()}, {"sl", Decimal(20).raw()}});
        TFzu1 w;
        w.show();
        QApplication::setActiveWindow(&w);
        w.field("ck1")->setText("一号库");
        w.field("ck2")->setText("一号库");
        QTest::keyClicks(w.field("txm1"), "W");
        QCOMPARE(w.field("spid1")->text(), QString::number(whole));
        QCOMPARE(column(w.model(), "sl"), QStringList{"2.00"});   // 1 × 2, not the 20 stored
        w.field("zzsl")->setText("3");
        QCOMPARE(column(w.model(), "sl"), QStringList{"6.00"});

        w.field("zzsl")->setText("2.5");
        click(&w, "BitBtn1");
        QCOMPARE(p.last(), QString("组装数量必须为整数！"));
        QCOMPARE(QApplication::focusWidget(), w.field("zzsl"));

        w.field("zzsl")->setText("3");
        click(&w, "BitBtn1");
        QCOMPARE(w.field("txm1")->text(), QString());
        QCOMPARE(w.field("spid1")->text(), QString("0"));
        QCOMPARE(w.field("zzsl")->text(), QString("1"));
        QCOMPARE(w.field("ck1")->text(), QString("一号库"));
        QCOMPARE(column(w.model(), "txm"), QStringList{"P"});   // the last whole's parts stay listed
        QSqlQuery q = b.db().exec("SELECT kcsl FROM sp ORDER BY id");
        QVERIFY(q.next());
        QCOMPARE(Decimal::fromRaw(q.value(0).toLongLong()).toPlain(), QString("3"));
        QVERIFY(q.next());
        QCOMPARE(Decimal::fromRaw(q.value(0).toLongLong()).toPlain(), QString("14"));
    }

    // The stock change dialogs stand the boxes first, then the type and the dates, then the
    // grouping; Enter walks the boxes and runs in the last, and leads back to the first box from
    // the type, the to-date and the grouping.
    void queryDialogFieldOrder_data()
    {
        QTest::addColumn<bool>("summary");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");   // "run": the dialog is accepted
        QTest::newRow("query: box to box") << false << "Edit1" << "Edit2";
        QTest::newRow("query: last box runs") << false << "Edit5" << "run";
        QTest::newRow("query: type to first box") << false << "ComboBox1" << "Edit1";
        QTest::newRow("query: to-date to first box") << false << "DateTimePicker2" << "Edit1";
        QTest::newRow("summary: last box runs") << true << "Edit4" << "run";
        QTest::newRow("summary: grouping to first box") << true << "RB1" << "Edit1";
    }
    void queryDialogFieldOrder()
    {
        QFETCH(bool, summary);
        QFETCH(QString, from);
        QFETCH(QString, to);
        TestBook b;
        ScriptedPrompter p;
        std::unique_ptr<LedgerReportWindow> w;
        if (summary) w = std::make_unique<TFrkhz1>();
        else w = std::make_unique<TFrkfx1>();
        w->show();
        bool accepted = false;
        whenModal<LedgerQueryDialog>([&](LedgerQueryDialog *d) {
            QApplication::setActiveWindow(d);
            QStringList order = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "ComboBox1", "CheckBox1", "DateTimePicker1", "DateTimePicker2"};
            if (summary) {
                order.removeOne("Edit5");
                order << "RB1" << "RB2" << "RB3";
            }
            QCOMPARE(tabOrder(d, reportQueryFields()), order);
            QCOMPARE(QApplication::focusWidget(), d->findChild<QWidget *>("Edit1"));
            connect(d, &QDialog::accepted, [&accepted] { accepted = true; });
            QWidget *field = d->findChild<QWidget *>(from);
            field->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            if (to != "run") {
                QCOMPARE(QApplication::focusWidget(), d->findChild<QWidget *>(to));
                d->reject();
            }
        });
        click(w.get(), "SB77");
        QCOMPARE(accepted, to == "run");
    }

    // A warehouse field left empty says so and takes the focus back; moving to its own picker
    // button, or leaving it filled, passes. Both fields empty: the first one alone complains.
    void warehouseRequiredOnLeaving_data()
    {
        QTest::addColumn<QString>("ck1");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");   // empty: Tab moves on
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("focus");
        QTest::newRow("whole's warehouse empty") << "" << "ck1" << "" << QStringList{"整件仓库不可为空！"} << "ck1";
        QTest::newRow("parts' warehouse empty") << "一号库" << "ck2" << "" << QStringList{"零件仓库不可为空！"} << "ck2";
        QTest::newRow("filled") << "一号库" << "ck1" << "" << QStringList{} << "txm1";
        QTest::newRow("to its picker") << "" << "ck1" << "picker" << QStringList{} << "picker";
        QTest::newRow("both empty") << "" << "ck1" << "ck2" << QStringList{"整件仓库不可为空！"} << "ck1";
    }
    void warehouseRequiredOnLeaving()
    {
        QFETCH(QString, ck1);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, messages);
        QFETCH(QString, focus);
        TestBook b;
        ScriptedPrompter p;
        TFzu1 w;
        w.show();
        QApplication::setActiveWindow(&w);
        w.field("ck1")->setText(ck1);
        QPushButton *picker = nullptr;
        for (QPushButton *button : w.findChildren<QPushButton *>())
            if (button->toolTip() == "选择整件仓库") picker = button;
        QVERIFY(picker);
        auto widget = [&](const QString &name) -> QWidget * { if (name == "picker") return picker;
            return w.field(name);
        };
        widget(from)->setFocus();
        QCOMPARE(QApplication::focusWidget(), widget(from));
        if (to.isEmpty()) QTest::keyClick(widget(from), Qt::Key_Tab);
        else widget(to)->setFocus(Qt::MouseFocusReason);   // a click, without opening the picker
        QTest::qWait(20);
        QCOMPARE(p.texts(), messages);
        QCOMPARE(QApplication::focusWidget(), widget(focus));
    }

    // Enter on an unknown part code opens the goods picker with lookups suspended; the chosen
    // part fills the fields and is added by Enter in the coefficient.
    void disassemblyPartFromThePicker()
    {
        TestBook b;
        ScriptedPrompter p;
        operatorHolds(true, true);
        const qint64 whole = goods("整件", "W", "4", "10");
        goods("零件", "P", "0", "1", "二号库");
        TFchai1 w;
        w.show();
        w.field("ck1")->setText("一号库");
        w.field("ck2")->setText("二号库");
        w.field("txm1")->setText("W");
        w.field("txm2")->setFocus();
        whenModal<TFsp3>([&w](TFsp3 *d) {
            QCOMPARE(w.sao(), QString("xuan"));
            d->chooseClick();
        });
        QTest::keyClick(w.field("txm2"), Qt::Key_Return);
        QCOMPARE(w.sao(), QString("sao"));
        QCOMPARE(p.texts(), QStringList{});
        QCOMPARE(w.field("txm2")->text(), QString("P"));
        w.field("cfxs")->setText("4");
        QTest::keyClick(w.field("cfxs"), Qt::Key_Return);
        QCOMPARE(column(w.model(), "sl"), QStringList{"4.00"});
        QCOMPARE(w.field("spid2")->text(), QString("0"));
        QCOMPARE(p.texts(), QStringList{});
        Q_UNUSED(whole);
    }
};

MARVODA_TEST(TestStockWindows)
#include "tst_stock_windows.moc"
