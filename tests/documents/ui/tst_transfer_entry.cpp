#include "app/widgets/record_table_model.h"
#include "documents/ui/tftjdbd1.h"
#include "documents/ui/tfxzdb1.h"
#include "entry_fixture.h"
#include "master/ui/lookup_list_window.h"
#include "master/ui/tfsp2.h"
#include "master/ui/tfyg2.h"
#include "test_main.h"

#include <QDate>
#include <QTableView>

// Goods on hand in the source warehouse: 20 pipes at 5.00.
struct TransferBook : EntryBook {
    TransferBook()
    {
        LookupList(book.db(), LookupKind::Warehouse).add({"二号库"});
        setStock(book.db(), "DXGG", "20", "5", "100");
    }
};

class TestTransferEntry : public QObject {
    Q_OBJECT

    // Enter in the empty warehouse field opens the warehouse list with the field's own mark.
    static void chooseWarehouse(TFtjdbd1 &w, const char *f, const char *mark, int row)
    {
        QCOMPARE(focused(), fieldOf(&w, f));
        answerModal<LookupListWindow>([mark, row](LookupListWindow *d) {
            QCOMPARE(d->mark(), QString(mark));
            d->grid()->selectRow(row);
            d->chooseClick();
        });
        press(Qt::Key_Return);
        QApplication::setActiveWindow(&w);
        QCOMPARE(focused(), fieldOf(&w, f));
        press(Qt::Key_Return);
    }
    static QString today() { return QDate::currentDate().toString("yyyyMMdd"); }

private slots:
    void cleanup()
    {
        if (TFsp2 *p = TFsp2::instance()) delete p;
    }

    // A transfer from the keyboard alone: both warehouses and the handler by their choosers, a
    // line at the source's stock cost, hold, take up, approve; both warehouses' stock after it.
    void keyboardPathHoldTakeUpApprove()
    {
        TransferBook b;
        TFtjdbd1 w;
        showActive(w);
        QCOMPARE(w.windowTitle(), QString("新增库存调拨单"));
        QCOMPARE(fieldOf(&w, "dh")->text(), "DB" + today() + "001");
        QCOMPARE(focused(), fieldOf(&w, "ck1"));

        chooseWarehouse(w, "ck1", "tjdb1", 0);
        chooseWarehouse(w, "ck2", "tjdb2", 1);
        QCOMPARE(fieldOf(&w, "ck1")->text(), QString("一号库"));
        QCOMPARE(fieldOf(&w, "ck2")->text(), QString("二号库"));
        QCOMPARE(focused(), fieldOf(&w, "jsr"));
        answerModal<TFyg2>([](TFyg2 *d) {
            QTest::keyClick(d->searchBox(), Qt::Key_Return);
        });
        press(Qt::Key_Return);
        QApplication::setActiveWindow(&w);
        QCOMPARE(fieldOf(&w, "jsr")->text(), QString("张三"));
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(&w, "txm"));

        // The code finds goods whatever their warehouse and proposes their stock cost.
        typeInto(fieldOf(&w, "txm"), "DXGG");
        QCOMPARE(fieldOf(&w, "jg")->text(), QString("5.00"));
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(&w, "sl"));
        QTest::keyClicks(focused(), "-10");   // the direction is the warehouses': no minus
        QCOMPARE(fieldOf(&w, "sl")->text(), QString("10"));
        press(Qt::Key_Return);
        auto *grid = w.findChild<QTableView *>("DBGrid1");
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(fieldOf(&w, "hjje")->text(), QString("50"));
        QCOMPARE(focused(), fieldOf(&w, "txm"));

        press(Qt::Key_F9);   // hold
        Database &db = b.book.db();
        const QString first = "DB" + today() + "001";
        QCOMPARE(b.prompter.texts(), QStringList());
        QCOMPARE(rowsOf(db, "SELECT dh, shbj, ck1, ck2, jsr, hjsl, hjje FROM dbglz"),
                 QStringList{first + "|未审核|一号库|二号库|张三|10|50"});
        QCOMPARE(rowsOf(db, "SELECT COUNT(*) FROM rkfx"), QStringList{"0"});
        // The next transfer of the round leaves the same warehouse with the same handler.
        QCOMPARE(fieldOf(&w, "dh")->text(), "DB" + today() + "002");
        QCOMPARE(fieldOf(&w, "ck1")->text(), QString("一号库"));
        QCOMPARE(fieldOf(&w, "jsr")->text(), QString("张三"));
        QCOMPARE(fieldOf(&w, "ck2")->text(), QString());
        QCOMPARE(focused(), fieldOf(&w, "ck2"));

        answerModal<TFxzdb1>([](TFxzdb1 *d) {
            QCOMPARE(d->findChild<QLineEdit *>("Edit2")->text(), QString("一号库"));   // the source filters
            QCOMPARE(d->model()->rowCount(), 1);
            QApplication::setActiveWindow(d);
            QTest::keyClick(d->grid(), Qt::Key_Return);
        });
        press(Qt::Key_F6);
        QApplication::setActiveWindow(&w);
        QCOMPARE(w.windowTitle(), QString("修改库存调拨单"));
        QCOMPARE(fieldOf(&w, "ck2")->text(), QString("二号库"));
        QCOMPARE(grid->model()->rowCount(), 1);

        press(Qt::Key_F8);   // approve
        QCOMPARE(b.prompter.texts(), QStringList());
        QCOMPARE(rowsOf(db, "SELECT shbj FROM dbglz"), QStringList{"已审核"});
        QCOMPARE(rowsOf(db, "SELECT ck, lx, jsr, txm, sl, jg, je FROM rkfx ORDER BY id"),
                 (QStringList{"一号库|库存调出|张三|DXGG|10|5|50", "二号库|库存调入|张三|DXGG|10|5|50"}));
        QCOMPARE(rowsOf(db, "SELECT ck, lb, kcsl, kcjg, kcje FROM sp WHERE txm = 'DXGG' ORDER BY id"),
                 (QStringList{"一号库|钢材|10|5|50", "二号库|未知|10|5|50"}));
    }

    // The checks of a save in their order, each with the field it sends the operator to; the
    // source warehouse is also refused when the operator walks away from it empty.
    void savesRefusedInOrder_data()
    {
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no source") << QStringList{"ck2", "jsr"} << "调出仓库不可为空！" << "ck1";
        QTest::newRow("no target") << QStringList{"ck1", "jsr"} << "调入仓库不可为空！" << "ck2";
        QTest::newRow("no handler") << QStringList{"ck1", "ck2"} << "经办人不可为空！" << "jsr";
        QTest::newRow("no lines") << QStringList{"ck1", "ck2", "jsr"} << "明细不可为空！" << "";
    }
    void savesRefusedInOrder()
    {
        QFETCH(QStringList, filled);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TransferBook b;
        TFtjdbd1 w;
        showActive(w);
        for (const QString &f : filled) fieldOf(&w, f.toLatin1())->setText(f == "jsr" ? "张三" : "一号库");
        fieldOf(&w, "txm")->setFocus();
        press(Qt::Key_F9);
        QCOMPARE(b.prompter.texts().value(0), message);
        if (!focus.isEmpty()) QCOMPARE(focused(), fieldOf(&w, focus.toLatin1()));
        QCOMPARE(rowsOf(b.book.db(), "SELECT COUNT(*) FROM dbglz"), QStringList{"0"});
    }

    void leavingEmptySourceIsRefused()
    {
        TransferBook b;
        TFtjdbd1 w;
        showActive(w);
        QCOMPARE(focused(), fieldOf(&w, "ck1"));
        fieldOf(&w, "ck2")->setFocus();
        QCOMPARE(b.prompter.texts(), QStringList{"调出仓库不可为空！"});
        QTRY_COMPARE(focused(), fieldOf(&w, "ck1"));
        // Source and target may be the same warehouse; an empty target may be left.
        b.prompter.clear();
        fieldOf(&w, "ck1")->setText("一号库");
        fieldOf(&w, "jsr")->setFocus();
        QCOMPARE(b.prompter.texts(), QStringList());
    }
};

MARVODA_TEST(TestTransferEntry)
#include "tst_transfer_entry.moc"
