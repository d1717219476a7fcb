#include "documents/ui/tfcggl1.h"
#include "documents/ui/tfcxcg1.h"
#include "documents/ui/tfllcgd1.h"
#include "list_fixture.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"
#include "trade_book.h"
#include "when_modal.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace trade_book;

namespace {

void click(QWidget *w, const char *name)
{
    auto *b = w->findChild<QPushButton *>(name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
}

void popup(TFcggl1 &list, const QString &caption)
{
    for (QAction *a : list.grid()->actions())
        if (a->text() == caption) return a->trigger();
    QFAIL(qPrintable("no pop-up command " + caption));
}

QVariant rowRole(const TFcggl1 &list, const QString &dh, int role)
{
    const int row = shownNumbers(list).indexOf(dh);
    return list.model()->data(list.model()->index(row, list.model()->columnOf("dh")), role);
}

// Steps in the query dialog; a failed check still closes it, so the test ends instead of hanging.
void query(std::function<void(TFcxcg1 *)> steps)
{
    whenModal<TFcxcg1>([steps](TFcxcg1 *d) {
        steps(d);
        if (d->isVisible()) d->reject();
    });
}

// Runs "查询" with everything left empty: every purchase document.
void queryAll(TFcggl1 &list)
{
    query([](TFcxcg1 *d) { QTest::keyClick(d->findChild<QLineEdit *>("Edit3"), Qt::Key_Return); });
    click(&list, "SB77");
}

// The list after a query for everything, with a prompter to answer its questions.
struct EveryDocumentListed {
    TestBook b;
    ScriptedPrompter p;
    QStringList dh = addPurchases(b.db());
    TFcggl1 list;
    EveryDocumentListed()
    {
        list.show();
        queryAll(list);
    }
};

} // namespace

class TestDocumentList : public QObject {
    Q_OBJECT
private slots:
    void opensOnHeldDocumentsWithTheirTotals()
    {
        TestBook b;
        const QStringList dh = addPurchases(b.db());
        TFcggl1 list;
        list.show();
        QCOMPARE(list.windowTitle(), "采购单据");
        QCOMPARE(shownNumbers(list), QStringList({dh[1], dh[2]}));
        // hjsl 2+1, hjje 10+7, payable 10+7, paid 0+7, debt 10.
        QCOMPARE(totals(list), QStringList({"", "3", "17", "", "17", "7", "10", ""}));
        QCOMPARE(list.findChild<QLabel *>("Label1")->text(), "未审核单据");
        QCOMPARE(rowRole(list, dh[1], Qt::BackgroundRole).value<QColor>(), QColor(225, 255, 225));
        QCOMPARE(rowRole(list, dh[1], Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));   // owes 10
        QVERIFY(!rowRole(list, dh[2], Qt::ForegroundRole).isValid());
    }

    void queryDialogStartsEmptyAndItsConditionsNarrowTheList()
    {
        TestBook b;
        const QStringList dh = addPurchases(b.db());
        TFcggl1 list;
        list.show();
        // Whatever the last query was, the dialog opens on: everything, a month back to today.
        query([](TFcxcg1 *d) {
            QCOMPARE(d->focusWidget(), d->findChild<QLineEdit *>("Edit1"));
            QCOMPARE(d->findChild<QComboBox *>("ComboBox1")->currentText(), "全部");
            QVERIFY(!d->findChild<QCheckBox *>("CheckBox1")->isChecked());
            QVERIFY(!d->findChild<QCheckBox *>("CheckBox2")->isChecked());
            QCOMPARE(d->findChild<QDateEdit *>("DateTimePicker2")->date(), QDate::currentDate());
            QCOMPARE(d->findChild<QDateEdit *>("DateTimePicker1")->date(), QDate::currentDate().addMonths(-1));
            d->findChild<QCheckBox *>("CheckBox2")->setChecked(true);
            QTest::keyClick(d->findChild<QLineEdit *>("Edit1"), Qt::Key_Return);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            QCOMPARE(d->focusWidget(), d->findChild<QLineEdit *>("Edit3"));
            QTest::keyClicks(d->findChild<QLineEdit *>("Edit3"), "CG");
            QTest::keyClick(d->findChild<QLineEdit *>("Edit3"), Qt::Key_Return);
        });
        click(&list, "SB77");
        QCOMPARE(shownNumbers(list), QStringList({dh[1]}));
        QCOMPARE(totals(list), QStringList({"", "2", "10", "", "10", "0", "10", ""}));

        // Enter in the approval box goes back to the supplier; the period counts both ends.
        query([](TFcxcg1 *d) {
            QVERIFY(!d->findChild<QCheckBox *>("CheckBox2")->isChecked());
            auto *approval = d->findChild<QComboBox *>("ComboBox1");
            approval->setCurrentIndex(2);
            approval->setFocus();
            QTest::keyClick(approval, Qt::Key_Return);
            QCOMPARE(d->focusWidget(), d->findChild<QLineEdit *>("Edit1"));
            d->findChild<QCheckBox *>("CheckBox1")->setChecked(true);
            d->findChild<QDateEdit *>("DateTimePicker1")->setDate(QDate(2024, 3, 5));
            d->findChild<QDateEdit *>("DateTimePicker2")->setDate(QDate(2024, 3, 5));
            QTest::mouseClick(d->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        });
        click(&list, "SB77");
        QCOMPARE(shownNumbers(list), QStringList({dh[0]}));

        queryAll(list);
        QCOMPARE(shownNumbers(list), dh);
        QCOMPARE(totals(list), QStringList({"", "13", "67", "", "67", "57", "10", ""}));
    }

    void unapproveShowsTheRowHeldAtOnceAndOnlyOnce()
    {
        EveryDocumentListed f;
        auto &[b, p, dh, list] = f;
        const QStringList before = totals(list);
        select(list, dh[0]);

        click(&list, "SB44");   // cancelled: nothing changes
        QCOMPARE(p.last(), "确定要反审此单据么？");
        QCOMPARE(stockOf(b.db(), "一号库", "A1"), "20 4.50 90.00");

        p.answer(true);
        click(&list, "SB44");
        QCOMPARE(stockOf(b.db(), "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(list.model()->text(0, "shbj"), "未审核");
        QCOMPARE(rowRole(list, dh[0], Qt::BackgroundRole).value<QColor>(), QColor(225, 255, 225));
        QCOMPARE(totals(list), before);

        p.clear();
        p.answer(true);
        popup(list, "反审核");
        QCOMPARE(p.texts(), QStringList({"本单据已经反审！"}));
        QCOMPARE(stockOf(b.db(), "一号库", "A1"), "10 4.00 40.00");
    }

    void deleteRemovesTheRowAndLowersTheTotals()
    {
        EveryDocumentListed f;
        auto &[b, p, dh, list] = f;
        select(list, dh[0]);

        click(&list, "SB66");   // cancelled
        QCOMPARE(p.last(), "确定要删除此单据么？\n特别提醒：\n同时删除与本单对应的明细和欠款！");
        QCOMPARE(shownNumbers(list), dh);

        // The approved document goes with its stock: the goods are back where they were.
        p.answer(true);
        click(&list, "SB66");
        QCOMPARE(shownNumbers(list), QStringList({dh[1], dh[2]}));
        QCOMPARE(stockOf(b.db(), "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(countRows(b.db(), "SELECT count(*) FROM cgglc WHERE dh = ?", {dh[0]}), 0);
        QCOMPARE(totals(list), QStringList({"", "3", "17", "", "17", "7", "10", ""}));

        select(list, dh[1]);   // the grid's pop-up "删除" does the same
        p.answer(true);
        popup(list, "删除");
        QCOMPARE(totals(list), QStringList({"", "1", "7", "", "7", "7", "0", ""}));
        QCOMPARE(stockOf(b.db(), "一号库", "A1"), "10 4.00 40.00");   // a held one never moved stock
    }

    void commandsOnAnEmptyList_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("warning");
        QTest::newRow("反审") << "SB44" << "没有单据可反审，请先查询！";
        QTest::newRow("查单") << "SB55" << "没有单据可查阅！";
        QTest::newRow("删除") << "SB66" << "没有单据可删除！";
    }
    void commandsOnAnEmptyList()
    {
        QFETCH(QString, button);
        QFETCH(QString, warning);
        TestBook b;
        ScriptedPrompter p;
        TFcggl1 list;
        list.show();
        QCOMPARE(list.model()->rowCount(), 0);
        click(&list, qPrintable(button));
        QCOMPARE(p.messages().size(), 1);
        QCOMPARE(p.lastKind(), "warn");
        QCOMPARE(p.last(), warning);
        QVERIFY(!QApplication::topLevelWidgets().contains(nullptr));
    }

    void printedListCarriesTheShownRowsAndTotals()
    {
        TestBook b;
        const QStringList dh = addPurchases(b.db());
        TFcggl1 list;
        list.show();
        const ReportData r = list.reportData();
        QVERIFY(r.title.endsWith("采购单据汇总表"));
        QCOMPARE(r.rows.size(), 2);
        QCOMPARE(r.rows[0].value("dh"), dh[1]);
        QCOMPARE(r.rows[0].value("ghs"), "宏达建材");
        QCOMPARE(r.captions.value(2), "厂商");
        QCOMPARE(r.totals.value("hjje"), "17");
        QCOMPARE(r.totals.value("qk"), "10");
    }

    void escClosesTheList()
    {
        TestBook b;
        TFcggl1 list;
        list.show();
        QTest::keyClick(list.grid(), Qt::Key_Escape);
        QVERIFY(!list.isVisible());
        QVERIFY(!list.model()->isOpen());
    }
};

MARVODA_TEST(TestDocumentList)
#include "tst_document_list.moc"
