#include "app/widgets/record_table_model.h"
#include "documents/ui/tftjpfd1.h"
#include "documents/ui/tftjxsd1.h"
#include "documents/ui/tfxzxs1.h"
#include "entry_fixture.h"
#include "master/company_info.h"
#include "master/ui/tfsp2.h"
#include "printed_texts.h"
#include "when_modal.h"
#include "test_main.h"

#include <QDate>
#include <QMenu>
#include <QTableView>

namespace {

// A sales book: goods with their stock cost and both selling prices; GB lies in two warehouses.
struct SalesBook : EntryBook {
    SalesBook()
    {
        auto priced = [this](const char *ck, const char *txm, const char *kcsl, const char *kcjg, const char *kcje,
                             const char *xjls, const char *xjpf) {
            book.db().insert("sp", {{"ck", QString::fromUtf8(ck)}, {"lb", "钢材"}, {"txm", txm}, {"ppgg", QString("名") + txm},
                                    {"dw", "根"}, {"kcsl", dec(kcsl).raw()}, {"kcjg", dec(kcjg).raw()},
                                    {"kcje", dec(kcje).raw()}, {"xjls", dec(xjls).raw()}, {"xjpf", dec(xjpf).raw()}});
        };
        priced("一号库", "ZT", "2", "4.5", "9", "8", "7");
        priced("一号库", "GB", "9", "6.5", "58.5", "10", "9");
        priced("二号库", "GB", "9", "6.5", "58.5", "10", "9");
        priced("一号库", "LS", "100", "6.5", "650", "10", "9.5");
    }
    static Decimal dec(const char *t) { return *Decimal::parse(QString::fromLatin1(t)); }
};

QString today() { return QDate::currentDate().toString("yyyyMMdd"); }

int gridRows(QWidget &w) { return w.findChild<QTableView *>("DBGrid1")->model()->rowCount(); }

} // namespace

class TestSalesEntry : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        if (TFsp2 *p = TFsp2::instance()) delete p;
    }

    // The counter: a customer typed by hand, codes scanned, Enter in the price adds the line
    // once the quantity is set, F8 approves; cost and profit per line, stock of the
    // document's warehouse going below zero, nothing received leaving the whole debt.
    void retailKeyboardPathApproves()
    {
        SalesBook b;
        TFtjxsd1 w;
        showActive(w);
        QCOMPARE(w.windowTitle(), QString("新增零售出库单"));
        QCOMPARE(fieldOf(&w, "dh")->text(), "XS" + today() + "001");
        QVERIFY(!fieldOf(&w, "kh")->isReadOnly());
        QCOMPARE(fieldOf(&w, "kh")->toolTip(), QString("直接录入客户，不进入客户资料表"));
        fillHeader(w, QString());
        QInputMethodEvent typed;
        typed.setCommitString("路人甲");
        fieldOf(&w, "kh")->setFocus();
        QApplication::sendEvent(fieldOf(&w, "kh"), &typed);
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(&w, "txm"));

        keyInLine(w, "LS", "2");   // code, Enter to the quantity, Enter adds
        QCOMPARE(focused(), fieldOf(&w, "txm"));
        QCOMPARE(gridRows(w), 1);
        typeInto(fieldOf(&w, "txm"), "ZT");
        QCOMPARE(fieldOf(&w, "jg")->text(), QString("8.00"));   // the retail price
        fieldOf(&w, "sl")->setText("3");
        fieldOf(&w, "jg")->setFocus();
        QCOMPARE(focused(), fieldOf(&w, "jg"));
        press(Qt::Key_Return);   // Enter in the price adds the line at once
        QCOMPARE(b.prompter.texts(), QStringList());
        QCOMPARE(gridRows(w), 2);
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("44"));
        QCOMPARE(fieldOf(&w, "yse")->text(), QString("44"));
        fieldOf(&w, "sse")->setText("0");
        press(Qt::Key_F8);
        QCOMPARE(b.prompter.texts(), QStringList());

        Database &db = b.book.db();
        const QString dh = "XS" + today() + "001";
        QCOMPARE(rowsOf(db, "SELECT dh, shbj, kh, yse, sse, qk FROM xsglz"), QStringList{dh + "|已审核|路人甲|44|0|44"});
        QCOMPARE(rowsOf(db, "SELECT txm, sl, jg, je, cbjg, cbje, maoli FROM xsfx ORDER BY id"),
                 (QStringList{"LS|2|10|20|6.5|13|7", "ZT|3|8|24|4.5|13.5|10.5"}));
        QCOMPARE(rowsOf(db, "SELECT DISTINCT kh FROM xsfx"), QStringList{"路人甲"});
        QCOMPARE(rowsOf(db, "SELECT COUNT(*) FROM skfx"), QStringList{"0"});
        QCOMPARE(rowsOf(db, "SELECT COUNT(*) FROM kh"), QStringList{"0"});
        QCOMPARE(rowsOf(db, "SELECT ck, txm, kcsl, kcje FROM sp WHERE txm IN ('ZT', 'GB', 'LS') ORDER BY id"),
                 (QStringList{"一号库|ZT|-1|-4.5", "一号库|GB|9|58.5", "二号库|GB|9|58.5", "一号库|LS|98|637"}));
        // The next sale starts at the customer.
        QCOMPARE(fieldOf(&w, "dh")->text(), "XS" + today() + "002");
        QCOMPARE(fieldOf(&w, "kh")->text(), QString());
        QCOMPARE(focused(), fieldOf(&w, "kh"));
    }

    // The code names goods wherever they lie: one row fills the window's own price and cost,
    // a code in two warehouses fills nothing.
    void codeLookupWithoutWarehouse_data()
    {
        QTest::addColumn<bool>("wholesale");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QStringList>("lines");   // txm, je, cbjg, cbje, maoli of the added line
        QTest::newRow("retail price") << false << "LS" << "名LS" << "10.00" << QStringList{"LS|20|6.5|13|7"};
        QTest::newRow("wholesale price") << true << "LS" << "名LS" << "9.50" << QStringList{"LS|19|6.5|13|6"};
        QTest::newRow("two warehouses, retail") << false << "GB" << "" << "0" << QStringList{};
        QTest::newRow("two warehouses, wholesale") << true << "GB" << "" << "0" << QStringList{};
    }
    void codeLookupWithoutWarehouse()
    {
        QFETCH(bool, wholesale);
        QFETCH(QString, code);
        SalesBook b;
        std::unique_ptr<DocumentEntryWindow> w;
        if (wholesale) w = std::make_unique<TFtjpfd1>();
        else w = std::make_unique<TFtjxsd1>();
        showActive(*w);
        fillHeader(*w, "宏达建材");
        fieldOf(w.get(), "ck")->setText("二号库");   // LS lies only in 一号库
        typeInto(fieldOf(w.get(), "txm"), code.toLatin1());
        QTEST(fieldOf(w.get(), "ppgg")->text(), "name");
        QTEST(fieldOf(w.get(), "jg")->text(), "price");
        fieldOf(w.get(), "sl")->setText("2");
        w->addLine();
        QStringList added;
        for (const DocumentLine &l : w->lines().lines())
            added << QStringList{l.txm, l.je.toPlain(), l.cbjg.toPlain(), l.cbje.toPlain(), l.maoli.toPlain()}.join('|');
        QTEST(added, "lines");
    }

    // The form printed at the counter carries the company's name and extra lines and what the
    // customer still owes, as the one printed from the list does.
    void printedAtEntryCarriesCompanyLinesAndDebt()
    {
        SalesBook b;
        CompanyInfo info;
        info.mczc = info.mcdy = "宏达建材商行";
        info.bz3 = "开户行：工行";
        info.bz4 = "电话：123";
        QVERIFY(!company::save(b.book.db(), info));
        TFtjxsd1 w;
        showActive(w);
        fillHeader(w, "路人甲");
        keyInLine(w, "LS", "2");
        fieldOf(&w, "sse")->setText("5");
        QStringList printed;
        catchPrinted(printed);
        w.printMenu()->actions().first()->trigger();
        QCOMPARE(b.prompter.texts(), QStringList());
        for (const char *text : {"宏达建材商行销售单", "开户行：工行", "电话：123", "欠款:"})
            QVERIFY2(printed.contains(QString::fromUtf8(text)), text);
    }

    // Printed while the discount is still being typed: the slip shows it as leaving the field would.
    void printingReformatsTheFieldBeingTyped()
    {
        SalesBook b;
        TFtjxsd1 w;
        showActive(w);
        fillHeader(w, "路人甲");
        keyInLine(w, "LS", "2");
        typeInto(fieldOf(&w, "yhe"), "1.234");
        QStringList printed;
        catchPrinted(printed);
        w.printMenu()->actions().first()->trigger();
        QCOMPARE(fieldOf(&w, "yhe")->text(), QString("1.23"));
        QVERIFY2(printed.contains("优惠:￥1.23"), qPrintable(printed.join(' ')));
    }

    // Wholesale goes to a customer on the books: the field takes no typing, and a sale without
    // a customer is refused.
    void wholesaleCustomerRefusesTyping()
    {
        SalesBook b;
        TFtjpfd1 w;
        showActive(w);
        QCOMPARE(w.windowTitle(), QString("新增批发出库单"));
        QCOMPARE(fieldOf(&w, "dh")->text(), "PF" + today() + "001");
        QCOMPARE(fieldOf(&w, "sse")->toolTip(), QString("正负方向必须跟应收额一致"));
        fillHeader(w, QString());
        QLineEdit *kh = fieldOf(&w, "kh");
        kh->setFocus();
        QTest::keyClicks(kh, "abc");
        QVERIFY(!kh->testAttribute(Qt::WA_InputMethodEnabled));   // no Chinese typed either
        QCOMPARE(kh->text(), QString());
        keyInLine(w, "LS", "1");
        press(Qt::Key_F9);
        QCOMPARE(b.prompter.texts(), QStringList{"客户不可为空！"});
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM xsglz"), QStringList{"0"});
    }

    // The counter and the desk open side by side: each holds and approves its own document,
    // its own lines and totals; a close in one discards none of the other's; each chooser
    // offers only its own held documents.
    void bothWindowsKeepTheirOwnDocuments()
    {
        SalesBook b;
        Database &db = b.book.db();
        TFtjxsd1 xs;
        TFtjpfd1 pf;
        showActive(xs);
        fillHeader(xs, "路人甲");
        keyInLine(xs, "LS", "1");
        showActive(pf);
        fillHeader(pf, "宏达建材");
        keyInLine(pf, "LS", "4");
        keyInLine(pf, "ZT", "1");
        QCOMPARE(gridRows(xs), 1);
        QCOMPARE(gridRows(pf), 2);
        QCOMPARE(fieldOf(&xs, "hjje")->text(), QString("10"));
        QCOMPARE(fieldOf(&pf, "hjje")->text(), QString("45"));

        QApplication::setActiveWindow(&pf);
        pf.holdClick();
        const QString held = "PF" + today() + "001";
        QCOMPARE(rowsOf(db, "SELECT dh, kh, hjje FROM xsglz"), QStringList{held + "|宏达建材|45"});
        QCOMPARE(gridRows(xs), 1);   // the counter's line is still pending there

        // A second retail sale held, then the counter's chooser sees it alone.
        xs.holdClick();
        const QString retail = "XS" + today() + "001";
        auto offered = [](DocumentEntryWindow &w) {
            QStringList numbers;
            answerModal<TFxzxs1>([&numbers](TFxzxs1 *d) {
                for (int r = 0; r < d->model()->rowCount(); ++r) numbers << d->model()->text(r, "dh");
            });
            w.findChild<QLineEdit *>(w.kind().partyColumn)->clear();
            w.chooseHeld();
            return numbers;
        };
        QCOMPARE(offered(xs), QStringList{retail});
        QCOMPARE(offered(pf), QStringList{held});

        // The desk takes its order up again; the counter starts a sale and is closed.
        answerModal<TFxzxs1>([](TFxzxs1 *d) { d->choose(); });
        pf.chooseHeld();
        QCOMPARE(pf.windowTitle(), QString("修改批发出库单"));
        QCOMPARE(gridRows(pf), 2);
        QApplication::setActiveWindow(&xs);
        keyInLine(xs, "LS", "1");
        QCOMPARE(rowsOf(db, "SELECT COUNT(*) FROM xsglc WHERE bj = 'dz'"), QStringList{"1"});
        xs.close();
        QCOMPARE(rowsOf(db, "SELECT COUNT(*) FROM xsglc WHERE bj = 'dz'"), QStringList{"0"});
        QCOMPARE(gridRows(pf), 2);
        pf.approveClick();
        QCOMPARE(b.prompter.texts(), QStringList());
        QCOMPARE(rowsOf(db, "SELECT dh, shbj FROM xsglz ORDER BY id"),
                 (QStringList{held + "|已审核", retail + "|未审核"}));
        QCOMPARE(rowsOf(db, "SELECT dh, txm, sl FROM xsfx ORDER BY id"),
                 (QStringList{held + "|LS|4", held + "|ZT|1"}));
        QCOMPARE(rowsOf(db, "SELECT dh, kh, je FROM skfx"), QStringList{held + "|宏达建材|45"});
    }
};

MARVODA_TEST(TestSalesEntry)
#include "tst_sales_entry.moc"
