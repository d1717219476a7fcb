#include "documents/ui/tfxgmx1.h"
#include "documents/ui/tftjrkd1.h"
#include "entry_fixture.h"
#include "master/ui/lookup_list_window.h"
#include "master/ui/tfsp2.h"
#include "test_main.h"

#include <QColor>
#include <QTableView>

// 20 pipes at 5.00 in the warehouse and one reason to adjust them for.
struct AdjustmentBook : EntryBook {
    AdjustmentBook()
    {
        LookupList(book.db(), LookupKind::AdjustmentReason).add({"盘亏"});
        setStock(book.db(), "DXGG", "20", "5", "100");
    }
};

class TestAdjustmentEntry : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        if (TFsp2 *p = TFsp2::instance()) delete p;
    }

    // The quantity is typed with its sign: below zero takes goods out; a lone "-" or a zero is
    // no quantity at all.
    void signedQuantity_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("line");
        QTest::newRow("out") << "-3" << "" << "-3.00";
        QTest::newRow("in") << "2" << "" << "2.00";
        QTest::newRow("one minus only") << "--3" << "" << "-3.00";
        QTest::newRow("lone minus") << "-" << "数量不可为零！" << "";
        QTest::newRow("zero") << "0" << "数量不可为零！" << "";
    }
    void signedQuantity()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, line);
        AdjustmentBook b;
        TFtjrkd1 w;
        showActive(w);
        fieldOf(&w, "ck")->setText("一号库");
        keyInLine(w, "DXGG", typed.toLatin1());
        auto *grid = w.findChild<QTableView *>("DBGrid1");
        QCOMPARE(b.prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(grid->model()->rowCount(), line.isEmpty() ? 0 : 1);
        if (line.isEmpty()) {
            QCOMPARE(focused(), fieldOf(&w, "sl"));
            return;
        }
        QCOMPARE(grid->model()->index(0, 3).data().toString(), line);
        const bool out = line.startsWith('-');
        QCOMPARE(grid->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red), out);
    }

    // The reason is asked for after the handler; chosen from its list by Enter; approval books
    // the line out at the row's own cost and keeps warehouse and handler for the next one.
    void reasonRequiredThenApproved()
    {
        AdjustmentBook b;
        TFtjrkd1 w;
        showActive(w);
        QCOMPARE(w.windowTitle(), QString("新增库存异动单"));
        QCOMPARE(w.findChild<QLineEdit *>("sm")->text(), QString("    数量＞0：入库    数量＜0：出库"));
        fieldOf(&w, "ck")->setText("一号库");
        fieldOf(&w, "jsr")->setText("张三");
        keyInLine(w, "DXGG", "-3");
        press(Qt::Key_F8);
        QCOMPARE(b.prompter.texts(), QStringList{"异动原因不可为空！"});
        QCOMPARE(focused(), fieldOf(&w, "lx"));

        answerModal<LookupListWindow>([](LookupListWindow *d) {
            d->grid()->selectRow(0);
            d->chooseClick();
        });
        press(Qt::Key_Return);
        QApplication::setActiveWindow(&w);
        QCOMPARE(fieldOf(&w, "lx")->text(), QString("盘亏"));
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(&w, "txm"));

        b.prompter.clear();
        press(Qt::Key_F8);
        QCOMPARE(b.prompter.texts(), QStringList());
        Database &db = b.book.db();
        QCOMPARE(rowsOf(db, "SELECT ck, lx, jsr, hjsl, hjje, shbj FROM rkglz"), QStringList{"一号库|盘亏|张三|-3|-15|已审核"});
        QCOMPARE(rowsOf(db, "SELECT ck, lx, txm, sl, jg, je FROM rkfx"), QStringList{"一号库|盘亏|DXGG|-3|5|-15"});
        QCOMPARE(rowsOf(db, "SELECT kcsl, kcjg, kcje FROM sp WHERE txm = 'DXGG'"), QStringList{"17|5|85"});
        QCOMPARE(fieldOf(&w, "ck")->text(), QString("一号库"));
        QCOMPARE(fieldOf(&w, "lx")->text(), QString());
        QCOMPARE(focused(), fieldOf(&w, "lx"));
    }

    // The line dialog changes the quantity alone, keeps its sign rules and the line's price.
    void lineDialogChangesTheQuantityOnly()
    {
        AdjustmentBook b;
        TFtjrkd1 w;
        showActive(w);
        fieldOf(&w, "ck")->setText("一号库");
        keyInLine(w, "DXGG", "2");
        answerModal<TFxgmx1>([](TFxgmx1 *d) {
            QCOMPARE(d->objectName(), QString("TFxgmx2"));
            QCOMPARE(d->windowTitle(), QString("修改异动明细"));
            QVERIFY(d->findChild<QLineEdit *>("jg")->isReadOnly());
            QVERIFY(!d->findChild<QLineEdit *>("zk")->isVisible());
            auto *sl = d->findChild<QLineEdit *>("sl");
            sl->selectAll();
            QTest::keyClicks(sl, "-4");
            QCOMPARE(d->findChild<QLineEdit *>("je")->text(), QString("-20.00"));
            QTest::keyClick(sl, Qt::Key_Return);
        });
        press(Qt::Key_F12);
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("-20"));
    }
};

MARVODA_TEST(TestAdjustmentEntry)
#include "tst_adjustment_entry.moc"
