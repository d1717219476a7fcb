#include "app/ui/tfmain1.h"
#include "documents/ui/document_commands.h"
#include "documents/ui/tfcggl1.h"
#include "documents/ui/tfcxcg1.h"
#include "documents/ui/tfllcgd1.h"
#include "finance/ui/document_viewers.h"
#include "print/ui/tfdypreview1.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"
#include "trade_book.h"
#include "when_modal.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>

using namespace trade_book;

namespace {

TFllcgd1 *openViewer()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *v = qobject_cast<TFllcgd1 *>(w); v && v->isVisible()) return v;
    return nullptr;
}

QString field(QWidget *v, const char *name) { return v->findChild<QLineEdit *>(name)->text(); }

// Which of 首单, 前单, 后单, 尾单 can be pressed: "1100" = first two.
QString enabledButtons(QWidget *v)
{
    QString out;
    for (const char *name : {"BB1", "BB2", "BB3", "BB4"}) out += v->findChild<QPushButton *>(name)->isEnabled() ? '1' : '0';
    return out;
}

void click(QWidget *v, const char *name) { QTest::mouseClick(v->findChild<QPushButton *>(name), Qt::LeftButton); }

} // namespace

class TestDocumentViewer : public QObject {
    Q_OBJECT
private slots:
    void walksTheListsRowsAndStopsAtItsEnds()
    {
        TestBook b;
        const QStringList dh = addPurchases(b.db());
        TFcggl1 list;
        list.show();
        whenModal<TFcxcg1>([](TFcxcg1 *d) { QTest::keyClick(d->findChild<QLineEdit *>("Edit3"), Qt::Key_Return); });
        QTest::mouseClick(list.findChild<QPushButton *>("SB77"), Qt::LeftButton);
        QCOMPARE(list.model()->rowCount(), 3);

        // A double-click on the middle row views it.
        QTableView *grid = list.grid();
        const QRect cell = grid->visualRect(list.model()->index(1, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        TFllcgd1 *v = openViewer();
        QVERIFY(v);
        QCOMPARE(v->windowTitle(), "浏览采购入库单");
        QCOMPARE(field(v, "dh"), dh[1]);
        QCOMPARE(field(v, "ghs"), "宏达建材");
        QCOMPARE(field(v, "ck"), "一号库");
        QCOMPARE(field(v, "yfe"), "10.00");
        QCOMPARE(field(v, "sfe"), "0.00");
        QCOMPARE(v->findChild<QLabel *>("shbj")->text(), "未审核");
        QVERIFY(v->findChild<QLabel *>("shbj")->styleSheet().contains("red"));
        QCOMPARE(v->totalText(0), "2");
        QCOMPARE(v->totalText(1), "10");
        QCOMPARE(enabledButtons(v), "1111");

        click(v, "BB3");   // to the last: nothing further
        QCOMPARE(field(v, "dh"), dh[2]);
        QCOMPARE(enabledButtons(v), "1100");
        QCOMPARE(v->lines()->rowCount(), 2);   // the return line is drawn in red
        QCOMPARE(v->lines()->data(v->lines()->index(0, 1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!v->lines()->data(v->lines()->index(1, 1), Qt::ForegroundRole).isValid());

        click(v, "BB1");
        QCOMPARE(field(v, "dh"), dh[0]);
        QCOMPARE(enabledButtons(v), "0011");
        QCOMPARE(v->findChild<QLabel *>("shbj")->text(), "已审核");
        QVERIFY(!v->findChild<QLabel *>("shbj")->styleSheet().contains("red"));

        click(v, "BB3");
        QCOMPARE(field(v, "dh"), dh[1]);
        QCOMPARE(enabledButtons(v), "1111");
        click(v, "BB2");
        QCOMPARE(field(v, "dh"), dh[0]);
        QCOMPARE(enabledButtons(v), "0011");
        click(v, "BB4");
        QCOMPARE(field(v, "dh"), dh[2]);
        QCOMPARE(enabledButtons(v), "1100");

        // The list's own rows are not moved by the viewer.
        QCOMPARE(list.grid()->currentIndex().row(), 1);
        QTest::keyClick(v, Qt::Key_Escape);
        QVERIFY(!openViewer());
    }

    void printsTheViewedDocument()
    {
        TestBook b;
        const QStringList dh = addPurchases(b.db());
        TFllcgd1 v;
        v.show();
        v.showDocuments(dh, 2);
        bool shown = false;
        whenModal<TFdyPreview1>([&shown](TFdyPreview1 *p) {
            p->buildAll();
            QStringList texts;
            for (const PrintedPage &page : p->report().pages)
                for (const PageText &t : page.texts) texts << t.text;
            shown = texts.contains("B1") && texts.join(' ').contains("采购单");
            p->reject();
        });
        const QList<QAction *> actions = v.findChild<QPushButton *>("BB5")->menu()->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->text(), "带编码打印");
        actions[0]->trigger();
        QVERIFY(shown);
    }

    void menuCommandAndPayablesOpenTheirWindowsInTheMainWindow()
    {
        TestBook b;
        ScriptedPrompter p;
        const QStringList dh = addPurchases(b.db());
        TFmain1 main;
        registerDocumentCommands(main);
        main.show();
        main.perform("采购单据");
        QVERIFY(main.findChild<TFcggl1 *>());

        // "查单" in the payables hands over its own rows.
        QVERIFY(DocumentViewers::open("cgglz", dh[2], dh));
        auto *v = main.findChild<TFllcgd1 *>();
        QVERIFY(v);
        QCOMPARE(v->index(), 2);
        QCOMPARE(field(v, "dh"), dh[2]);
        QCOMPARE(enabledButtons(v), "1100");
        QVERIFY(DocumentViewers::open("cgglz", dh[0], {}));
        QCOMPARE(main.findChildren<TFllcgd1 *>().size(), 1);
        QCOMPARE(field(v, "dh"), dh[0]);
        QCOMPARE(enabledButtons(v), "0000");
        DocumentViewers::setOpener({});
    }
};

MARVODA_TEST(TestDocumentViewer)
#include "tst_document_viewer.moc"
