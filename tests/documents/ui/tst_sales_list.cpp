#include "app/ui/tfmain1.h"
#include "documents/ui/document_commands.h"
#include "documents/ui/tfcxxs1.h"
#include "documents/ui/tfllxsd1.h"
#include "documents/ui/tftjpfd1.h"
#include "documents/ui/tftjxsd1.h"
#include "documents/ui/tfxsgl1.h"
#include "app/session.h"
#include "list_fixture.h"
#include "finance/ui/document_viewers.h"
#include "printed_texts.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"
#include "trade_book.h"
#include "when_modal.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

namespace {

using namespace trade_book;

// A1 lies in two warehouses, 10 at 4.00 in each. [0] an approved retail sale of 3 × A1 at 10
// paid in full, [1] a held retail sale 2 × A1, [2] a held wholesale order 4 × A1 at 9, nothing paid.
struct SalesListed {
    TestBook b;
    ScriptedPrompter p;
    QStringList dh;
    SalesListed()
    {
        session::current().stYhm1 = QStringLiteral("系统管理员");
        Database &db = b.db();
        addGoods(db, "一号库", "A1", "10", "4", "40");
        addGoods(db, "二号库", "A1", "10", "4", "40");
        dh << saveDocument(db, DocType::Retail, {line("A1", "3", "10", "4")}, true);
        dh << saveDocument(db, DocType::Retail, {line("A1", "2", "10", "4")}, false);
        dh << saveDocument(db, DocType::Wholesale, {line("A1", "4", "9", "4")}, false, "0");
    }
};

void query(TFxsgl1 &list, const char *number)
{
    whenModal<TFcxxs1>([number](TFcxxs1 *d) {
        auto *e = d->findChild<QLineEdit *>("Edit3");
        QTest::keyClicks(e, number);
        QTest::keyClick(e, Qt::Key_Return);
        if (d->isVisible()) d->reject();
    });
    QTest::mouseClick(list.findChild<QPushButton *>("SB77"), Qt::LeftButton);
}

} // namespace

class TestSalesList : public QObject {
    Q_OBJECT
private slots:
    // Retail and wholesale in one list; the number's prefix picks one kind.
    void opensOnHeldSalesOfBothKinds()
    {
        SalesListed f;
        TFxsgl1 list;
        list.show();
        QCOMPARE(list.windowTitle(), QString("销售单据"));
        QCOMPARE(shownNumbers(list), QStringList({f.dh[2], f.dh[1]}));   // by number: PF before XS
        // hjsl 2+4, hjje 20+36, receivable 20+36, received 20+0, debt 36.
        QCOMPARE(totals(list), QStringList({"", "6", "56", "", "56", "20", "36", ""}));
        QCOMPARE(list.model()->headerData(0, Qt::Horizontal).toString(), QString("销售日期"));

        query(list, "PF");
        QCOMPARE(shownNumbers(list), QStringList{f.dh[2]});
        query(list, "XS");
        QCOMPARE(shownNumbers(list), QStringList({f.dh[0], f.dh[1]}));

        const ReportData r = list.reportData();
        QVERIFY(r.title.endsWith("销售单据汇总表"));
        QCOMPARE(r.rows[0].value("kh"), QString("宏达建材"));
        QCOMPARE(r.captions.value(2), QString("客户"));
    }

    // Un-approving gives the goods back to the sale's own warehouse only and takes its ledger
    // and money rows away; deleting an approved sale does the same before the document goes.
    void unapproveAndDeleteReverseTheSaleInItsWarehouse_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("shbj");
        QTest::newRow("反审") << "SB44" << "未审核";
        QTest::newRow("删除") << "SB66" << "";
    }
    void unapproveAndDeleteReverseTheSaleInItsWarehouse()
    {
        QFETCH(QString, button);
        QFETCH(QString, shbj);
        SalesListed f;
        Database &db = f.b.db();
        QCOMPARE(stockOf(db, "一号库", "A1"), "7 4.00 28.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM skfx WHERE dh = ?", {f.dh[0]}), 1);
        TFxsgl1 list;
        list.show();
        query(list, "");
        select(list, f.dh[0]);
        f.p.answer(true);
        QTest::mouseClick(list.findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(stockOf(db, "一号库", "A1"), "10 4.00 40.00");
        QCOMPARE(stockOf(db, "二号库", "A1"), "10 4.00 40.00");
        QCOMPARE(countRows(db, "SELECT count(*) FROM xsfx WHERE dh = ?", {f.dh[0]}), 0);
        QCOMPARE(countRows(db, "SELECT count(*) FROM skfx WHERE dh = ?", {f.dh[0]}), 0);
        QSqlQuery q = db.exec("SELECT shbj FROM xsglz WHERE dh = ?", {f.dh[0]});
        QCOMPARE(q.next() ? q.value(0).toString() : QString(), shbj);
        QCOMPARE(countRows(db, "SELECT count(*) FROM xsglc WHERE dh = ?", {f.dh[0]}), shbj.isEmpty() ? 0 : 1);
    }

    // "查单" from the list and from the receivables both open the one sales viewer, which
    // prints the sales form with the debt.
    void viewerShowsAndPrintsTheSale()
    {
        SalesListed f;
        TFmain1 main;
        registerDocumentCommands(main);
        main.show();
        for (const char *command : {"零售", "批发", "销售单据"}) main.perform(command);
        QVERIFY(main.findChild<TFtjxsd1 *>());
        QVERIFY(main.findChild<TFtjpfd1 *>());
        auto *list = main.findChild<TFxsgl1 *>();
        QVERIFY(list);
        select(*list, f.dh[2]);
        QTest::mouseClick(list->findChild<QPushButton *>("SB55"), Qt::LeftButton);
        auto *v = main.findChild<TFllxsd1 *>();
        QVERIFY(v);
        QCOMPARE(v->numbers(), QStringList({f.dh[2], f.dh[1]}));
        QCOMPARE(v->findChild<QLineEdit *>("kh")->text(), QString("宏达建材"));
        QCOMPARE(v->findChild<QLineEdit *>("yse")->text(), QString("36.00"));

        QStringList printed;
        catchPrinted(printed);
        v->print(false);
        QVERIFY(printed.join(' ').contains("销售单"));
        QVERIFY(printed.contains("欠款:"));

        QVERIFY(DocumentViewers::open("xsglz", f.dh[0], {}));
        QCOMPARE(main.findChildren<TFllxsd1 *>().size(), 1);
        QCOMPARE(v->findChild<QLineEdit *>("dh")->text(), f.dh[0]);
        DocumentViewers::setOpener({});
    }
};

MARVODA_TEST(TestSalesList)
#include "tst_sales_list.moc"
