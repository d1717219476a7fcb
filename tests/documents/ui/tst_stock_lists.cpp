#include "../document_fixture.h"
#include "documents/document_numbering.h"
#include "documents/ui/document_query_dialog.h"
#include "documents/ui/tfcxdb1.h"
#include "documents/ui/tfcxrk1.h"
#include "documents/ui/tfdbgl1.h"
#include "documents/ui/tflldbd1.h"
#include "documents/ui/tfllrkd1.h"
#include "documents/ui/tfrkgl1.h"
#include "printed_texts.h"
#include "scripted_prompter.h"
#include "tab_order.h"
#include "test_book.h"
#include "test_main.h"
#include "when_modal.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <memory>

namespace {

const QDate Today(2024, 3, 5);

// 20 pieces at 5.00 in the source, none yet at 6.00 in the target.
struct StockBook {
    TestBook book;
    ScriptedPrompter prompter;
    StockBook()
    {
        addGoods(book.db(), "一号库", "T1", "20", "5", "100");
        addGoods(book.db(), "二号库", "T1", "0", "6", "0");
    }
    QStringList stock() { return {stockOf(book.db(), "一号库", "T1"), stockOf(book.db(), "二号库", "T1")}; }

    // A transfer from the first into the second warehouse, or an adjustment into the first.
    QString save(DocType type, const char *sl, bool approve)
    {
        Database &db = book.db();
        const DocumentKind &k = documentKind(type);
        LineBuffer lines(db, k);
        lines.startNew(DocumentNumbering::next(db, k, Today).dh);
        lines.add(line("T1", sl, "5"));
        DocumentHeader h = headerFor(k, lines, "一号库");
        if (type == DocType::Transfer) h.setField("ck2", "二号库");
        return DocumentService(db, k).save(h, lines, approve, Today);
    }
};

std::unique_ptr<DocumentListWindow> listOf(DocType type)
{
    if (type == DocType::Transfer) return std::make_unique<TFdbgl1>();
    return std::make_unique<TFrkgl1>();
}

QStringList shownNumbers(const DocumentListWindow &list)
{
    QStringList out;
    for (int r = 0; r < list.model()->rowCount(); ++r) out << list.model()->text(r, "dh");
    return out;
}

void select(DocumentListWindow &list, const QString &dh)
{
    const int row = shownNumbers(list).indexOf(dh);
    QVERIFY(row >= 0);
    list.grid()->setCurrentIndex(list.model()->index(row, 0));
}

void popup(DocumentListWindow &list, const QString &caption)
{
    for (QAction *a : list.grid()->actions())
        if (a->text() == caption) return a->trigger();
    QFAIL(qPrintable("no pop-up command " + caption));
}

void addStockKinds()
{
    QTest::addColumn<DocType>("type");
    QTest::newRow("transfer") << DocType::Transfer;
    QTest::newRow("adjustment") << DocType::Adjustment;
}

} // namespace

class TestStockLists : public QObject {
    Q_OBJECT
private slots:
    // Both lists: opening on the held documents and their two sums, the query by the kind's own
    // first box, and the pop-up commands doing what the buttons named so do: un-approving
    // (twice refused) and deleting an approved document, each time with the stock put back.
    void listsQueryUnapproveDelete_data()
    {
        QTest::addColumn<DocType>("type");
        QTest::addColumn<QString>("searched");
        QTest::addColumn<QStringList>("approvedStock");
        QTest::addColumn<int>("ledgerRows");
        QTest::newRow("transfer") << DocType::Transfer << "一号"
                                  << QStringList{"10 5.00 50.00", "10 6.00 60.00"} << 4;
        QTest::newRow("adjustment") << DocType::Adjustment << "盘盈"
                                    << QStringList{"30 5.00 150.00", "0 6.00 0.00"} << 2;
    }
    void listsQueryUnapproveDelete()
    {
        QFETCH(DocType, type);
        QFETCH(QString, searched);
        QFETCH(QStringList, approvedStock);
        QFETCH(int, ledgerRows);
        StockBook b;
        Database &db = b.book.db();
        const QStringList before = b.stock();
        const QString first = b.save(type, "5", true);
        const QString second = b.save(type, "5", true);
        const QString held = b.save(type, "2", false);
        QCOMPARE(b.stock(), approvedStock);
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx"), ledgerRows);

        const auto list = listOf(type);
        QCOMPARE(shownNumbers(*list), QStringList{held});
        QCOMPARE(list->totalText(1), QString("2"));
        QCOMPARE(list->totalText(2), QString("10"));

        whenModal<DocumentQueryDialog>([searched](DocumentQueryDialog *d) {
            QVERIFY(!d->findChild<QWidget *>("CheckBox2")->isVisibleTo(d));   // stock carries no debt
            d->findChild<QLineEdit *>("Edit1")->setText(searched);
            QTest::keyClick(d->findChild<QLineEdit *>("Edit3"), Qt::Key_Return);
        });
        list->findChild<QPushButton *>("SB77")->click();
        QCOMPARE(shownNumbers(*list), (QStringList{first, second, held}));
        QCOMPARE(list->totalText(1), QString("12"));

        select(*list, first);
        b.prompter.answer(true);
        popup(*list, "反审核");
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx WHERE dh = ?", {first}), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx WHERE dh = ?", {second}), ledgerRows / 2);
        b.prompter.clear();
        popup(*list, "反审核");
        QCOMPARE(b.prompter.texts(), QStringList{"本单据已经反审！"});

        select(*list, second);
        b.prompter.answer(true);
        popup(*list, "删除");
        QCOMPARE(b.prompter.texts().last(), QString("确定要删除此单据么？\n特别提醒：\n同时删除与本单对应的明细！"));
        QCOMPARE(b.stock(), before);
        QCOMPARE(countRows(db, "SELECT count(*) FROM rkfx"), 0);
        QCOMPARE(shownNumbers(*list), (QStringList{first, held}));
        QCOMPARE(list->totalText(1), QString("7"));
        QCOMPARE(list->totalText(2), QString("35"));
        QCOMPARE(list->reportData().fields.size(), 6);
    }

    // The viewers show each kind's own header fields; an adjustment its sign rule.
    void viewersShowTheKindsFields()
    {
        StockBook b;
        const QString dh = b.save(DocType::Transfer, "5", true);
        TFlldbd1 transfer;
        transfer.showDocuments({dh}, 0);
        QCOMPARE(transfer.findChild<QLineEdit *>("ck1")->text(), QString("一号库"));
        QCOMPARE(transfer.findChild<QLineEdit *>("ck2")->text(), QString("二号库"));
        QCOMPARE(transfer.totalText(1), QString("25"));

        const QString yd = b.save(DocType::Adjustment, "-3", false);
        TFllrkd1 adjustment;
        adjustment.showDocuments({yd}, 0);
        QCOMPARE(adjustment.findChild<QLineEdit *>("lx")->text(), QString("盘盈"));
        QCOMPARE(adjustment.findChild<QLineEdit *>("sm")->text(), QString("    数量＞0：入库    数量＜0：出库"));
        QCOMPARE(adjustment.lines()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    }

    // A stock document has one layout: the viewer's "打印" prints it at once, with no pop-up.
    void viewersPrintAtOnce_data()
    {
        addStockKinds();
    }
    void viewersPrintAtOnce()
    {
        QFETCH(DocType, type);
        StockBook b;
        const QString dh = b.save(type, "5", true);
        std::unique_ptr<DocumentViewer> v;
        if (type == DocType::Transfer) v = std::make_unique<TFlldbd1>();
        else v = std::make_unique<TFllrkd1>();
        v->show();
        v->showDocuments({dh}, 0);
        QStringList printed;
        catchPrinted(printed);
        auto *print = v->findChild<QPushButton *>("BB5");
        QVERIFY(!print->menu());
        QTest::mouseClick(print, Qt::LeftButton);
        QVERIFY2(printed.contains(documentKind(type).printName), qPrintable(printed.join(' ')));
        QVERIFY(printed.join(' ').contains(dh));
    }

    // Enter walks the stock query dialogs from the period down to the texts; in the number it
    // runs the query.
    void queryDialogsEnterWalk_data()
    {
        addStockKinds();
    }
    void queryDialogsEnterWalk()
    {
        QFETCH(DocType, type);
        std::unique_ptr<DocumentQueryDialog> d;
        if (type == DocType::Transfer) d = std::make_unique<TFcxdb1>();
        else d = std::make_unique<TFcxrk1>();
        d->show();
        QApplication::setActiveWindow(d.get());
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Edit1"));
        const QStringList walk{"CheckBox1", "DateTimePicker1", "DateTimePicker2", "ComboBox1", "Edit1", "Edit2", "Edit3"};
        QCOMPARE(tabOrder(d.get(), walk), walk);
        d->findChild<QWidget *>("CheckBox1")->setFocus();
        QStringList walked{"CheckBox1"};
        for (int i = 1; i < walk.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked, walk);
        QVERIFY(d->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(d->result(), int(QDialog::Accepted));
    }
};

MARVODA_TEST(TestStockLists)
#include "tst_stock_lists.moc"
