#include "app/ui/tfmain1.h"
#include "app/widgets/record_table_model.h"
#include "documents/document_service.h"
#include "documents/ui/document_commands.h"
#include "documents/ui/tfxzcg1.h"
#include "entry_fixture.h"
#include "master/ui/lookup_list_window.h"
#include "master/ui/tfghs2.h"
#include "master/ui/tfsp2.h"
#include "master/ui/tfyg2.h"
#include "test_main.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTableView>

class TestPurchaseEntry : public QObject {
    Q_OBJECT

    // Enter in the empty field opens its chooser; back in the filled field, Enter moves on.
    template <class D>
    static void enterChooses(TFtjcgd1 &w, const char *f, const QString &chosen, const char *next, std::function<void(D *)> answer)
    {
        QCOMPARE(focused(), fieldOf(&w, f));
        answerModal<D>(answer);
        press(Qt::Key_Return);
        QCOMPARE(fieldOf(&w, f)->text(), chosen);
        QApplication::setActiveWindow(&w);
        QCOMPARE(focused(), fieldOf(&w, f));
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(&w, next));
    }
    static QString today() { return QDate::currentDate().toString("yyyyMMdd"); }

private slots:
    void cleanup()
    {
        if (TFsp2 *p = TFsp2::instance()) delete p;
    }

    // The whole keyboard path of a delivery: header by choosers, lines by code, hold, take up,
    // approve; and what the book holds afterwards.
    void keyboardPathHoldTakeUpApprove()
    {
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        QCOMPARE(w.windowTitle(), QString("新增采购入库单"));
        QCOMPARE(w.mode(), QString("新增"));
        QCOMPARE(fieldOf(&w, "dh")->text(), "CG" + today() + "001");
        QCOMPARE(focused(), fieldOf(&w, "ck"));

        enterChooses<LookupListWindow>(w, "ck", "一号库", "jsr", [](LookupListWindow *d) {
            QCOMPARE(d->mark(), QString("tjcg"));
            d->grid()->selectRow(0);
            d->chooseClick();
        });
        auto searchEnter = [](PartnerPicker *d) { QTest::keyClick(d->searchBox(), Qt::Key_Return); };
        enterChooses<TFyg2>(w, "jsr", "张三", "ghs", searchEnter);
        enterChooses<TFghs2>(w, "ghs", "华新水泥", "txm", searchEnter);

        keyInLine(w, "DXGG", "10");
        QCOMPARE(focused(), fieldOf(&w, "txm"));
        QCOMPARE(fieldOf(&w, "txm")->text(), QString());
        QCOMPARE(fieldOf(&w, "jg")->text(), QString("0"));
        QCOMPARE(fieldOf(&w, "sl")->text(), QString("10"));   // the quantity stays for the next line
        keyInLine(w, "SN", "-2");
        auto *grid = w.findChild<QTableView *>("DBGrid1");
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->model()->index(1, 3).data().toString(), QString("-2.00"));
        QCOMPARE(grid->model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(grid->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>() != QColor(Qt::red));
        QCOMPARE(fieldOf(&w, "hjsl")->text(), QString("8"));
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("45"));
        QCOMPARE(fieldOf(&w, "yfe")->text(), QString("45"));
        QCOMPARE(fieldOf(&w, "sfe")->text(), QString("45"));

        press(Qt::Key_F9);   // hold
        Database &db = b.book.db();
        const QString first = "CG" + today() + "001";
        QCOMPARE(rowsOf(db, "SELECT dh, shbj, ck, ghs, jsr, hjsl, hjje, yfe, sfe, qk FROM cgglz"),
                 QStringList{first + "|未审核|一号库|华新水泥|张三|8|45|45|45|0"});
        QCOMPARE(rowsOf(db, "SELECT txm, sl, jg, zk, je, bj FROM cgglc ORDER BY id"),
                 (QStringList{"DXGG|10|5|1|50|yz", "SN|-2|2.5|1|-5|yz"}));
        // Kept for the next delivery: date, warehouse, handler; the supplier and amounts start over.
        QCOMPARE(fieldOf(&w, "dh")->text(), "CG" + today() + "002");
        QCOMPARE(fieldOf(&w, "ck")->text(), QString("一号库"));
        QCOMPARE(fieldOf(&w, "jsr")->text(), QString("张三"));
        QCOMPARE(fieldOf(&w, "ghs")->text(), QString());
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("0"));
        QCOMPARE(grid->model()->rowCount(), 0);
        QCOMPARE(focused(), fieldOf(&w, "ghs"));
        QCOMPARE(b.prompter.texts(), QStringList());

        keyInLine(w, "SN", "4");   // pending on the new number, dropped when the held one is taken up
        answerModal<TFxzcg1>([](TFxzcg1 *d) {
            QCOMPARE(d->windowTitle(), QString("选择采购挂单（未审采购单）"));
            QCOMPARE(d->model()->rowCount(), 1);
            QApplication::setActiveWindow(d);
            QCOMPARE(focused(), d->grid());   // the query leaves the focus in the grid
            QTest::keyClick(d->grid(), Qt::Key_Return);
        });
        press(Qt::Key_F6);
        QApplication::setActiveWindow(&w);
        QCOMPARE(w.windowTitle(), QString("修改采购入库单"));
        QCOMPARE(w.mode(), QString("修改"));
        QCOMPARE(fieldOf(&w, "dh")->text(), first);
        QCOMPARE(fieldOf(&w, "ghs")->text(), QString("华新水泥"));
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(rowsOf(db, "SELECT COUNT(*) FROM cgglc WHERE bj = 'dz'"), QStringList{"0"});

        fieldOf(&w, "sfe")->setText("40");
        fieldOf(&w, "bz")->setFocus();
        press(Qt::Key_Return);   // Enter in the note approves
        QCOMPARE(b.prompter.texts(), QStringList());
        QCOMPARE(rowsOf(db, "SELECT dh, shbj, hjje, yfe, sfe, qk FROM cgglz"), QStringList{first + "|已审核|45|45|40|5"});
        QCOMPARE(rowsOf(db, "SELECT dh, ck, ghs, jsr, txm, sl, jg, je FROM cgfx ORDER BY id"),
                 (QStringList{first + "|一号库|华新水泥|张三|DXGG|10|5|50", first + "|一号库|华新水泥|张三|SN|-2|2.5|-5"}));
        QCOMPARE(rowsOf(db, "SELECT dh, ghs, je, shbj FROM fkfx"), QStringList{first + "|华新水泥|40|已审核"});
        QCOMPARE(rowsOf(db, "SELECT txm, kcsl, kcje FROM sp WHERE ck = '一号库' ORDER BY id"),
                 (QStringList{"DXGG|10|50", "SN|-2|-5"}));
        // Saving a held document starts a fresh one.
        QCOMPARE(w.mode(), QString("新增"));
        QCOMPARE(fieldOf(&w, "ck")->text(), QString());
        QCOMPARE(fieldOf(&w, "dh")->text(), "CG" + today() + "002");
    }

    void enterWalksTheFilledHeader_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("date skips to the handler") << "DateTimePicker1" << "jsr";
        QTest::newRow("warehouse") << "ck" << "jsr";
        QTest::newRow("handler") << "jsr" << "ghs";
        QTest::newRow("supplier") << "ghs" << "txm";
        QTest::newRow("code skips the price") << "txm" << "sl";
        QTest::newRow("price") << "jg" << "sl";
        QTest::newRow("discount") << "yhe" << "bz";
        QTest::newRow("paid") << "sfe" << "bz";
    }
    void enterWalksTheFilledHeader()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        typeInto(fieldOf(&w, "txm"), "DXGG");
        w.findChild<QWidget *>(from)->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(focused()->objectName(), to);
        QCOMPARE(b.prompter.texts(), QStringList());
    }

    void codeLookupTakesOneRowOfTheWarehouse_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("price");
        QTest::newRow("once in the warehouse") << "DXGG" << "镀锌钢管" << "5.00";
        QTest::newRow("only in another warehouse") << "LWG" << "" << "0";
        QTest::newRow("twice in the warehouse") << "DUP" << "" << "0";
        QTest::newRow("absent") << "NONE" << "" << "0";
    }
    void codeLookupTakesOneRowOfTheWarehouse()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, price);
        EntryBook b;
        addPricedGoods(b.book.db(), "一号库", "DUP", "甲", "1");
        addPricedGoods(b.book.db(), "一号库", "DUP", "乙", "2");
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        typeInto(fieldOf(&w, "txm"), "DXGG");
        typeInto(fieldOf(&w, "txm"), qPrintable(code));
        QCOMPARE(fieldOf(&w, "ppgg")->text(), name);
        QCOMPARE(fieldOf(&w, "dw")->text(), name.isEmpty() ? QString() : QString("根"));
        QCOMPARE(fieldOf(&w, "jg")->text(), price);
        if (name.isEmpty()) {   // Enter with no goods named opens the picker on the warehouse
            fieldOf(&w, "txm")->setFocus();
            press(Qt::Key_Return);
            QVERIFY(TFsp2::instance() && TFsp2::instance()->isVisible());
            TFsp2::instance()->chooseClick();
            QCOMPARE(w.findChild<QTableView *>("DBGrid1")->model()->rowCount(), 1);
            QCOMPARE(fieldOf(&w, "hjje")->text(), QString("5"));
        }
    }

    void lineRefusals_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no goods") << "NONE" << "3" << "商品不可为空！" << "txm";
        QTest::newRow("zero quantity") << "DXGG" << "0" << "数量不可为零！" << "sl";
        QTest::newRow("lone minus") << "DXGG" << "-" << "数量不可为零！" << "sl";
    }
    void lineRefusals()
    {
        QFETCH(QString, code);
        QFETCH(QString, quantity);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        typeInto(fieldOf(&w, "txm"), qPrintable(code));
        typeInto(fieldOf(&w, "sl"), qPrintable(quantity));
        press(Qt::Key_F10);
        QCOMPARE(b.prompter.texts(), QStringList{message});
        QCOMPARE(focused()->objectName(), focus);
        QCOMPARE(w.lines().lines().size(), 0);
    }

    // payable follows total − discount, paid follows payable until typed over.
    void amountsCascade()
    {
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        QLineEdit *yhe = fieldOf(&w, "yhe"), *yfe = fieldOf(&w, "yfe"), *sfe = fieldOf(&w, "sfe");
        typeInto(yhe, "-");
        QCOMPARE(yfe->text(), QString("50"));
        typeInto(yhe, "4.5");
        QCOMPARE(yfe->text(), QString("45.5"));
        QCOMPARE(sfe->text(), QString("45.5"));
        typeInto(sfe, "20");
        keyInLine(w, "SN", "2");   // 50 + 5
        QCOMPARE(yfe->text(), QString("50.5"));
        QCOMPARE(sfe->text(), QString("50.5"));
        yhe->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(&w, "bz"));
    }

    // A discount typed with three decimals is reformatted when the operator leaves it, so the
    // paid amount typed afterwards is what the book keeps.
    void discountReformattedOnLeavingKeepsThePaidTyped_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("stored");   // yhe|yfe|sfe|qk
        QTest::newRow("Tab") << "tab" << "1.23|48.77|20|28.77";
        QTest::newRow("Enter") << "enter" << "1.23|48.77|20|28.77";
        QTest::newRow("click") << "click" << "1.23|48.77|20|28.77";
        QTest::newRow("F8 still in the discount") << "" << "1.23|48.77|48.77|0";
    }
    void discountReformattedOnLeavingKeepsThePaidTyped()
    {
        QFETCH(QString, leave);
        QFETCH(QString, stored);
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        QLineEdit *yhe = fieldOf(&w, "yhe"), *sfe = fieldOf(&w, "sfe");
        typeInto(yhe, "1.234");
        QCOMPARE(fieldOf(&w, "yfe")->text(), QString("48.766"));   // while it is typed
        if (!leave.isEmpty()) {
            if (leave == "tab") press(Qt::Key_Tab);
            else if (leave == "enter") press(Qt::Key_Return);
            else QTest::mouseClick(sfe, Qt::LeftButton);
            QVERIFY(focused() != yhe);
            QCOMPARE(yhe->text(), QString("1.23"));
            QCOMPARE(fieldOf(&w, "yfe")->text(), QString("48.77"));
            QCOMPARE(sfe->text(), QString("48.77"));
            typeInto(sfe, "20");
        }
        press(Qt::Key_F8);
        QCOMPARE(b.prompter.texts(), QStringList());
        Database &db = b.book.db();
        QCOMPARE(rowsOf(db, "SELECT yhe, yfe, sfe, qk FROM cgglz"), QStringList{stored});
        QCOMPARE(rowsOf(db, "SELECT je FROM fkfx"), QStringList{stored.section('|', 2, 2)});
    }

    // A held document from an older book with four decimals in its discount is taken up as the
    // operator would have left the field, and saved so.
    void takenUpDiscountShowsTwoDecimals()
    {
        EntryBook b;
        Database &db = b.book.db();
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        const QString dh = fieldOf(&w, "dh")->text();
        press(Qt::Key_F9);
        db.exec("UPDATE cgglz SET yhe = ?, yfe = ?, sfe = ? WHERE dh = ?",
                {Decimal::parseOr0(u"1.2345").raw(), Decimal::parseOr0(u"48.7655").raw(), Decimal::parseOr0(u"48.7655").raw(), dh});
        w.takeUp(*DocumentService(db, w.kind()).header(dh));
        QCOMPARE(fieldOf(&w, "yhe")->text(), QString("1.23"));
        QCOMPARE(fieldOf(&w, "yfe")->text(), QString("48.77"));
        QCOMPARE(fieldOf(&w, "sfe")->text(), QString("48.77"));
        press(Qt::Key_F8);
        QCOMPARE(rowsOf(db, "SELECT yhe, yfe, sfe, qk, shbj FROM cgglz"), QStringList{"1.23|48.77|48.77|0|已审核"});
    }

    void amountRefusalMovesTheFocus_data()
    {
        QTest::addColumn<QString>("emptied");
        QTest::addColumn<QString>("yhe");
        QTest::addColumn<QString>("sfe");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no supplier") << "ghs" << "0" << "" << "厂商不可为空！" << "ghs";
        QTest::newRow("no warehouse") << "ck" << "0" << "" << "仓库不可为空！" << "ck";
        QTest::newRow("discount above total") << "" << "60" << "" << "付款单据，优惠额不可大于总金额！" << "yhe";
        QTest::newRow("paid above payable") << "" << "0" << "51" << "付款单据，实付额不可大于应付额！" << "sfe";
        QTest::newRow("paid negative") << "" << "0" << "-1" << "付款单据，实付额不可为负数！" << "sfe";
    }
    void amountRefusalMovesTheFocus()
    {
        QFETCH(QString, emptied);
        QFETCH(QString, yhe);
        QFETCH(QString, sfe);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        keyInLine(w, "DXGG", "10");
        fieldOf(&w, "yhe")->setText(yhe);
        if (!sfe.isEmpty()) fieldOf(&w, "sfe")->setText(sfe);
        if (!emptied.isEmpty()) fieldOf(&w, qPrintable(emptied))->clear();
        fieldOf(&w, "bz")->setFocus();
        b.prompter.clear();
        press(Qt::Key_F8);
        QCOMPARE(b.prompter.texts(), QStringList{message});
        QCOMPARE(focused()->objectName(), focus);
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM cgglz"), QStringList{"0"});
    }

    void leavingAnEmptyWarehouseIsRefused()
    {
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        QCOMPARE(focused(), fieldOf(&w, "ck"));
        fieldOf(&w, "bz")->setFocus(Qt::TabFocusReason);
        QCOMPARE(b.prompter.texts(), QStringList{"仓库不可为空！"});
        QTRY_COMPARE(focused(), fieldOf(&w, "ck"));
    }

    // Unsaved lines leave nothing; the picker the window opened goes with it.
    void closingDiscardsPendingLines()
    {
        EntryBook b;
        auto *w = new TFtjcgd1;
        QPointer<TFtjcgd1> alive(w);
        showActive(*w);
        fillHeader(*w);
        keyInLine(*w, "DXGG", "3");
        w->findChild<QAbstractButton *>("SpeedButton3")->click();
        QVERIFY(TFsp2::instance());
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM cgglc"), QStringList{"1"});
        press(Qt::Key_Escape);
        QTRY_VERIFY(!alive);
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM cgglc"), QStringList{"0"});
        QTRY_VERIFY(!TFsp2::instance() || !TFsp2::instance()->isVisible());
    }

    // The chooser: supplier filter from the window, the date pair, an empty choice refused.
    void chooserFiltersAndRefusesAnEmptyChoice()
    {
        EntryBook b;
        Database &db = b.book.db();
        for (const auto &[dh, ghs, rq] : {std::tuple{"CG20240301001", "华新水泥", "2024-03-01"},
                                          std::tuple{"CG20240302001", "钢材厂", "2024-03-02"}})
            db.insert("cgglz", {{"dh", dh}, {"ghs", ghs}, {"rq", rq}, {"kdrq", rq}, {"shbj", "未审核"}});
        TFxzcg1 d;
        d.setPartyFilter("钢材");
        showActive(d);
        auto shown = [&d] {
            QStringList out;
            for (int r = 0; r < d.model()->rowCount(); ++r) out << d.model()->text(r, "dh");
            return out;
        };
        QCOMPARE(shown(), QStringList{"CG20240302001"});
        auto *from = d.findChild<QDateEdit *>("DateTimePicker1");
        auto *to = d.findChild<QDateEdit *>("DateTimePicker2");
        QCOMPARE(to->date(), QDate::currentDate());
        QCOMPARE(from->date(), QDate::currentDate().addMonths(-1));
        d.findChild<QLineEdit *>("Edit2")->clear();
        d.findChild<QCheckBox *>("CheckBox1")->setChecked(true);
        to->setDate(QDate(2024, 3, 1));   // the from-date moves back with it
        QCOMPARE(from->date(), QDate(2024, 3, 1));
        from->setDate(QDate(2024, 3, 2));   // and the to-date forward
        QCOMPARE(to->date(), QDate(2024, 3, 2));
        d.findChild<QLineEdit *>("Edit2")->setFocus();
        press(Qt::Key_Return);   // Enter in the filter queries
        QCOMPARE(shown(), QStringList{"CG20240302001"});
        d.findChild<QLineEdit *>("Edit2")->setText("无此厂商");
        d.query();
        d.choose();
        QCOMPARE(b.prompter.texts(), QStringList{"没有单据可选择！"});
        QVERIFY(d.isVisible());
        QTest::keyClick(d.grid(), Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    }

    void dayLimitClosesTheWindow()
    {
        EntryBook b;
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        b.book.db().insert("cgglz", {{"dh", "CG" + TestPurchaseEntry::today() + "999"}, {"kdrq", today}, {"shbj", "已审核"}});
        auto *w = new TFtjcgd1;
        QPointer<TFtjcgd1> alive(w);
        w->show();   // the window goes as soon as the event loop runs
        QCOMPARE(b.prompter.texts(), QStringList{"每天录入不可超过999单！"});
        QTRY_VERIFY(!alive);
    }

    // From the menu: one window at a time; closing its frame in the main window discards too.
    void menuOpensOneWindowAndClosingItsFrameDiscards()
    {
        EntryBook b;
        TFmain1 main;
        registerDocumentCommands(main);
        main.formShow("系统管理员");
        main.perform("采购");
        main.perform("采购");
        QCOMPARE(main.findChildren<TFtjcgd1 *>().size(), 1);
        QPointer<TFtjcgd1> w = main.findChild<TFtjcgd1 *>();
        fillHeader(*w);
        w->appendGoodsLine({"DXGG", "镀锌钢管", "根", 1, 5, 5, Decimal(1), {}, {}, {}});
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM cgglc"), QStringList{"1"});
        qobject_cast<QMdiSubWindow *>(w->parentWidget())->close();
        QTRY_VERIFY(!w);
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM cgglc"), QStringList{"0"});
    }

    void deletingAndTheEmptyDocumentMessages()
    {
        EntryBook b;
        TFtjcgd1 w;
        showActive(w);
        fillHeader(w);
        for (Qt::Key k : {Qt::Key_F11, Qt::Key_F12}) press(k);
        w.discountAll();
        w.printMenu()->actions().first()->trigger();   // printing checks from the lines on
        QCOMPARE(b.prompter.texts(), (QStringList{"没有明细可删除！", "没有明细可修改！", "没有明细可设置！", "明细不可为空！"}));
        keyInLine(w, "DXGG", "3");
        keyInLine(w, "SN", "2");
        b.prompter.clear();
        b.prompter.answer(false);
        press(Qt::Key_F11);
        QCOMPARE(w.lines().lines().size(), 2);
        b.prompter.answer(true);
        press(Qt::Key_F11);
        QCOMPARE(b.prompter.texts(), (QStringList{"确定要删除此明细么？", "确定要删除此明细么？"}));
        QCOMPARE(w.lines().lines().size(), 1);
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("15"));
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM cgglc"), QStringList{"1"});
        press(Qt::Key_F7);
        QVERIFY(w.printMenu()->isVisible());
        w.printMenu()->hide();
    }

    // What a purchase window that ended without saving left (as a killed program's does) is
    // offered as the next one opens; taken, it is saved with the lines keyed in after it.
    void anInterruptedEntryIsOfferedAsTheWindowOpens_data()
    {
        QTest::addColumn<bool>("take");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("yes") << true << QStringList{"DXGG|3|4.1|yz", "SN|2|2.5|yz"};
        QTest::newRow("no") << false << QStringList{"SN|2|2.5|yz"};
    }
    void anInterruptedEntryIsOfferedAsTheWindowOpens()
    {
        QFETCH(bool, take);
        QFETCH(QStringList, saved);
        EntryBook b;
        Database &db = b.book.db();
        const QString dh = "CG" + today() + "001";
        {
            LineBuffer ended(db, documentKind(DocType::Purchase));
            ended.startNew(dh);
            DocumentLine l;
            l.txm = "DXGG";
            l.ppgg = "镀锌钢管";
            l.dw = "根";
            l.sl = 3;
            l.jg = *Decimal::parse(QStringLiteral("4.1"));
            l.recompute(false);
            ended.add(l);
        }
        b.prompter.answer(take);
        TFtjcgd1 w;
        showActive(w);
        QCOMPARE(b.prompter.messages().size(), 1);
        QCOMPARE(b.prompter.lastKind(), QString("yesNo"));
        QCOMPARE(b.prompter.last(), QString("上次有未保存的单据明细1行，是否恢复？"));
        QCOMPARE(fieldOf(&w, "dh")->text(), dh);
        QCOMPARE(w.findChild<QTableView *>("DBGrid1")->model()->rowCount(), take ? 1 : 0);
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString(take ? "12.3" : "0"));
        QCOMPARE(fieldOf(&w, "sfe")->text(), QString(take ? "12.3" : "0"));

        fillHeader(w);
        keyInLine(w, "SN", "2");
        press(Qt::Key_F8);
        QCOMPARE(b.prompter.messages().size(), 1);
        QCOMPARE(rowsOf(db, "SELECT txm, sl, jg, bj FROM cgglc WHERE dh = ? ORDER BY id", {dh}), saved);
        QCOMPARE(rowsOf(db, "SELECT COUNT(*) FROM cgglc WHERE bj <> 'yz'"), QStringList{"0"});
        QCOMPARE(rowsOf(db, "SELECT txm, kcsl FROM sp WHERE ck = '一号库' ORDER BY id"),
                 (QStringList{QString("DXGG|") + (take ? "3" : "0"), "SN|2"}));
    }
};

MARVODA_TEST(TestPurchaseEntry)
#include "tst_purchase_entry.moc"
