#include "documents/ui/tftjcgd1.h"
#include "documents/ui/tftjdbd1.h"
#include "documents/ui/tftjpfd1.h"
#include "documents/ui/tftjrkd1.h"
#include "documents/ui/tftjxsd1.h"
#include "entry_fixture.h"
#include "master/ui/tfsp2.h"
#include "printed_texts.h"
#include "tab_order.h"
#include "test_main.h"
#include "when_modal.h"

#include <QAction>
#include <QMenu>
#include <QTableView>

#include <memory>

Q_DECLARE_METATYPE(DocType)

namespace {

std::unique_ptr<DocumentEntryWindow> entryWindow(DocType type)
{
    switch (type) {
    case DocType::Purchase: return std::make_unique<TFtjcgd1>();
    case DocType::Retail: return std::make_unique<TFtjxsd1>();
    case DocType::Wholesale: return std::make_unique<TFtjpfd1>();
    case DocType::Transfer: return std::make_unique<TFtjdbd1>();
    case DocType::Adjustment: break;
    }
    return std::make_unique<TFtjrkd1>();
}

// The window shown with the warehouse the goods come from filled, so the focus may leave it.
std::unique_ptr<DocumentEntryWindow> openWindow(DocType type)
{
    auto w = entryWindow(type);
    showActive(*w);
    fieldOf(w.get(), qPrintable(w->config().listFields.first().column))->setText("一号库");
    return w;
}

} // namespace

// What differs between the five entry windows, each a row of the kinds table.
class TestEntryKinds : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (TFsp2 *p = TFsp2::instance()) delete p;
    }

    // Stock lines carry no discount rate: their grid offers only "删除明细", and the discount
    // command does nothing there. They have one print layout, which F7 prints at once; the trade
    // documents choose between two from the pop-up. "商品不可为空！" leads to the goods name,
    // except in the purchase window, where the code is typed again.
    void differencesOfTheKinds_data()
    {
        QTest::addColumn<DocType>("type");
        QTest::addColumn<QStringList>("menu");
        QTest::addColumn<bool>("printsAtOnce");
        QTest::addColumn<QString>("noGoodsFocus");
        const QStringList trade{"删除明细", "整单折扣"}, stock{"删除明细"};
        QTest::newRow("purchase") << DocType::Purchase << trade << false << "txm";
        QTest::newRow("retail") << DocType::Retail << trade << false << "ppgg";
        QTest::newRow("wholesale") << DocType::Wholesale << trade << false << "ppgg";
        QTest::newRow("transfer") << DocType::Transfer << stock << true << "ppgg";
        QTest::newRow("adjustment") << DocType::Adjustment << stock << true << "ppgg";
    }
    void differencesOfTheKinds()
    {
        QFETCH(DocType, type);
        QFETCH(QStringList, menu);
        QFETCH(bool, printsAtOnce);
        QFETCH(QString, noGoodsFocus);
        EntryBook b;
        const auto w = openWindow(type);

        typeInto(fieldOf(w.get(), "txm"), "NONE");
        typeInto(fieldOf(w.get(), "sl"), "3");
        press(Qt::Key_F10);
        QCOMPARE(b.prompter.texts(), QStringList{"商品不可为空！"});
        QCOMPARE(focused()->objectName(), noGoodsFocus);
        b.prompter.clear();

        auto *gridMenu = w->findChild<QTableView *>("DBGrid1")->findChild<QMenu *>("PopupMenu1");
        QVERIFY(gridMenu);
        QStringList entries;
        for (const QAction *a : gridMenu->actions()) entries << a->text();
        QCOMPARE(entries, menu);

        keyInLine(*w, "DXGG", "2");
        QCOMPARE(w->lines().lines().size(), 1);
        if (!menu.contains("整单折扣")) {
            w->discountAll();
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
            QCOMPARE(b.prompter.texts(), QStringList());
        }

        QStringList printed;
        if (printsAtOnce) {
            catchPrinted(printed);
        }
        press(Qt::Key_F7);
        QCOMPARE(w->printMenu()->isVisible(), !printsAtOnce);
        w->printMenu()->hide();
        QCOMPARE(printed.contains(w->kind().printName), printsAtOnce);
        QCOMPARE(b.prompter.texts(), QStringList());
    }

    // A stock document's note belongs to its header: Tab takes it after the handler (and the
    // reason), before the goods; Enter in the filled last header field still goes to the code.
    void stockNoteFollowsTheHeader_data()
    {
        QTest::addColumn<DocType>("type");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("transfer") << DocType::Transfer << QStringList{"DateTimePicker1", "ck1", "ck2", "jsr", "bz", "txm"};
        QTest::newRow("adjustment") << DocType::Adjustment << QStringList{"DateTimePicker1", "ck", "jsr", "lx", "bz", "txm"};
    }
    void stockNoteFollowsTheHeader()
    {
        QFETCH(DocType, type);
        QFETCH(QStringList, tabs);
        EntryBook b;
        const auto w = openWindow(type);
        QCOMPARE(tabOrder(w.get(), tabs), tabs);
        QLineEdit *last = fieldOf(w.get(), qPrintable(tabs[tabs.size() - 3]));
        last->setText("x");
        last->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(w.get(), "txm"));
        fieldOf(w.get(), "bz")->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(focused(), fieldOf(w.get(), "txm"));
        QCOMPARE(b.prompter.texts(), QStringList());
    }
};

MARVODA_TEST(TestEntryKinds)
#include "tst_entry_kinds.moc"
