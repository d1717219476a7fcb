#include "finance/ui/tffkfx1.h"
#include "finance/ui/tfskfx1.h"
#include "finance/ui/tftjfkfx1.h"
#include "finance/ui/tftjskfx1.h"
#include "finance/ui/tfxzyf1.h"
#include "finance/ui/tfxzys1.h"
#include "master/employee_book.h"
#include "master/ui/tfyg2.h"
#include "modal.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"
#include "trade_documents.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <memory>

using namespace trade_documents;

Q_DECLARE_METATYPE(SettlementKind)

namespace {

std::unique_ptr<SettlementEntryDialog> entryDialog(SettlementKind k)
{
    if (k == SettlementKind::Payment) return std::make_unique<TFtjfkfx1>();
    return std::make_unique<TFtjskfx1>();
}

std::unique_ptr<SettlementListWindow> listWindow(SettlementKind k)
{
    if (k == SettlementKind::Payment) return std::make_unique<TFfkfx1>();
    return std::make_unique<TFskfx1>();
}

QLineEdit *edit(QWidget *w, const QString &name) { return w->findChild<QLineEdit *>(name); }

void addEmployee(Database &db, const QString &name)
{
    EmployeeRecord r;
    r.xm = name;
    r.xb = QStringLiteral("男");
    QVERIFY(!EmployeeBook(db).add(r));
}

void bothKinds()
{
    QTest::addColumn<SettlementKind>("kind");
    QTest::newRow("payments") << SettlementKind::Payment;
    QTest::newRow("collections") << SettlementKind::Collection;
}

} // namespace

class TestSettlementWindows : public QObject {
    Q_OBJECT
private slots:
    // The operator's walk with the keyboard only: Enter in the empty number opens the chooser,
    // Enter in the empty handler the employee picker, Enter in the note saves.
    void enterWalkPaysADocument_data() { bothKinds(); }
    void enterWalkPaysADocument()
    {
        QFETCH(SettlementKind, kind);
        TestBook b;
        ScriptedPrompter p;
        const SettlementConfig &c = SettlementConfig::of(kind);
        add(b.db(), kind, "D1", "华新", money("1000"), money("200"));
        add(b.db(), kind, "D2", "海螺", money("50"));
        addEmployee(b.db(), "李四");
        auto d = entryDialog(kind);
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        QLineEdit *dh = edit(d.get(), "dh");
        dh->setFocus();
        whenModal<OwedDocumentChooser>([](OwedDocumentChooser *ch) {
            QCOMPARE(ch->model()->rowCount(), 2);   // queried at once, nothing typed in the partner
            auto *grid = ch->findChild<QTableView *>("DBGrid1");
            QApplication::setActiveWindow(ch);
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Return);   // the first row: D1
        });
        QTest::keyClick(dh, Qt::Key_Return);
        QApplication::setActiveWindow(d.get());
        QCOMPARE(dh->text(), QStringLiteral("D1"));
        QCOMPARE(edit(d.get(), c.partner)->text(), QStringLiteral("华新"));
        QCOMPARE(edit(d.get(), "qk")->text(), QStringLiteral("800"));

        dh->setFocus();
        QTest::keyClick(dh, Qt::Key_Return);   // a document is there: Enter moves on to the amount
        QLineEdit *amount = edit(d.get(), c.amountField);
        QCOMPARE(QApplication::focusWidget(), amount);
        amount->selectAll();
        QTest::keyClicks(amount, "100.456");
        QTest::keyClick(amount, Qt::Key_Return);
        QLineEdit *jsr = edit(d.get(), "jsr");
        QCOMPARE(QApplication::focusWidget(), jsr);
        whenModal<TFyg2>([](TFyg2 *picker) {
            QApplication::setActiveWindow(picker);
            QTest::keyClick(picker->searchBox(), Qt::Key_Return);
        });
        QTest::keyClick(jsr, Qt::Key_Return);
        QApplication::setActiveWindow(d.get());
        QCOMPARE(jsr->text(), QStringLiteral("李四"));
        QTest::keyClick(jsr, Qt::Key_Return);
        QLineEdit *bz = edit(d.get(), "bz");
        QCOMPARE(QApplication::focusWidget(), bz);
        const QDate day = d->findChild<QDateEdit *>("DateTimePicker1")->date();
        QTest::keyClick(bz, Qt::Key_Return);

        QCOMPARE(p.texts(), QStringList());
        QCOMPARE(of(b.db(), kind, "D1").paid, money("300.46"));
        // Stays open for the next one, keeping the day and the handler.
        QVERIFY(d->isVisible());
        QCOMPARE(d->mode(), QStringLiteral("新增"));
        QCOMPARE(dh->text(), QString());
        QCOMPARE(edit(d.get(), c.partner)->text(), QString());
        QCOMPARE(edit(d.get(), "qk")->text(), QStringLiteral("0"));
        QCOMPARE(amount->text(), QStringLiteral("0"));
        QCOMPARE(jsr->text(), QStringLiteral("李四"));
        QCOMPARE(d->findChild<QDateEdit *>("DateTimePicker1")->date(), day);
        QCOMPARE(QApplication::focusWidget(), dh);
    }

    void savingRefusesInOrder_data()
    {
        QTest::addColumn<SettlementKind>("kind");
        QTest::addColumn<QString>("dh");
        QTest::addColumn<QString>("amount");   // typed after clearing the field
        QTest::addColumn<QString>("shown");    // the amount field afterwards
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        for (SettlementKind k : {SettlementKind::Payment, SettlementKind::Collection}) {
            const SettlementConfig &c = SettlementConfig::of(k);
            const QByteArray t = c.ledger.toLatin1();
            QTest::newRow(t + " document not approved") << k << "D3" << "5" << "5" << "帐单不可为空！" << "dh";
            QTest::newRow(t + " document settled") << k << "D2" << "5" << "5" << "帐单不可为空！" << "dh";
            QTest::newRow(t + " emptied amount") << k << "D1" << "" << c.emptyAmount << c.zeroMessage << c.amountField;
            QTest::newRow(t + " no handler") << k << "D1" << "5.5" << "5.5" << "经办人不可为空！" << "jsr";
        }
    }
    void savingRefusesInOrder()
    {
        QFETCH(SettlementKind, kind);
        QFETCH(QString, dh);
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestBook b;
        ScriptedPrompter p;
        add(b.db(), kind, "D1", "华新", money("100"));
        add(b.db(), kind, "D2", "华新", money("100"), money("100"));
        add(b.db(), kind, "D3", "华新", money("100"), {}, false);
        auto d = entryDialog(kind);
        d->show();
        QTest::keyClicks(edit(d.get(), "dh"), dh);
        QLineEdit *a = edit(d.get(), d->config().amountField);
        a->setFocus();
        a->selectAll();
        if (amount.isEmpty()) QTest::keyClick(a, Qt::Key_Backspace);
        else QTest::keyClicks(a, amount);
        d->findChild<QPushButton *>("BitBtn1")->click();
        QCOMPARE(a->text(), shown);
        QCOMPARE(p.texts(), QStringList{message});
        QCOMPARE(p.lastKind(), QStringLiteral("info"));
        QCOMPARE(d->focusWidget()->objectName(), focus);
        QCOMPARE(of(b.db(), kind, "D1").paid, money("0"));
    }

    void chooserPresetsPartnerAndEscCloses_data() { bothKinds(); }
    void chooserPresetsPartnerAndEscCloses()
    {
        QFETCH(SettlementKind, kind);
        TestBook b;
        ScriptedPrompter p;
        add(b.db(), kind, "D1", "华新", money("100"), {}, true, "2020-01-01");
        add(b.db(), kind, "D2", "海螺", money("100"));
        std::unique_ptr<OwedDocumentChooser> ch;
        if (kind == SettlementKind::Payment) ch = std::make_unique<TFxzyf1>();
        else ch = std::make_unique<TFxzys1>();
        ch->setPreset("海螺", {});
        ch->show();
        QCOMPARE(ch->model()->rowCount(), 1);
        // Dates ticked: last month only, where nothing is owed.
        ch->findChild<QCheckBox *>("CheckBox1")->setChecked(true);
        auto *partner = ch->findChild<QLineEdit *>("Edit1");
        partner->clear();
        QTest::keyClick(partner, Qt::Key_Return);   // Enter in the partner queries
        QCOMPARE(ch->model()->rowCount(), 0);
        ch->choose();
        QCOMPARE(p.texts(), QStringList{"没有帐单可选择！"});
        QVERIFY(ch->isVisible());
        QTest::keyClick(ch.get(), Qt::Key_Escape);
        QVERIFY(!ch->isVisible());
    }

    // Un-approve, modify and delete from the list, with their refusals and questions.
    void listCommands_data() { bothKinds(); }
    void listCommands()
    {
        QFETCH(SettlementKind, kind);
        TestBook b;
        ScriptedPrompter p;
        add(b.db(), kind, "D1", "华新", money("1000"));
        SettlementService s(b.db(), kind);
        const QDate today = QDate::currentDate();
        for (const char *amount : {"300", "200"})
            s.save({today, "D1", "华新", money("1000"), money(amount), "李四", QString()});
        auto w = listWindow(kind);
        w->show();
        RecordTableModel *m = w->model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(w->statusText(1), QStringLiteral("500"));

        auto click = [&](const char *name) { w->findChild<QPushButton *>(name)->click(); };
        w->grid()->setCurrentIndex(m->index(1, 0));
        click("SB55");
        QCOMPARE(p.last(), QStringLiteral("审核数据不可修改，请先反审核！"));

        click("SB33");   // cancelled
        QCOMPARE(p.last(), QStringLiteral("确定要反审么？"));
        QCOMPARE(of(b.db(), kind, "D1").owed, money("500"));
        p.answer(true);
        click("SB33");
        QCOMPARE(of(b.db(), kind, "D1").owed, money("700"));
        QCOMPARE(m->text(1, "shbj"), QStringLiteral("未审核"));
        QCOMPARE(m->data(m->index(1, 0), Qt::BackgroundRole).value<QColor>(), RecordTableModel::notApprovedColour());
        QCOMPARE(w->statusText(1), QStringLiteral("500"));   // still listed
        click("SB33");
        QCOMPARE(p.last(), QStringLiteral("数据已经反审！"));

        // Modified (and approved again) through the dialog, which then closes.
        whenModal<SettlementEntryDialog>([](SettlementEntryDialog *d) {
            QCOMPARE(d->mode(), QStringLiteral("修改"));
            QCOMPARE(d->windowTitle(), d->config().editCaption);
            QLineEdit *a = d->findChild<QLineEdit *>(d->config().amountField);
            QCOMPARE(a->text(), QStringLiteral("200.00"));
            a->setText("150");
            d->findChild<QPushButton *>("BitBtn1")->click();
            QVERIFY(!d->isVisible());
        });
        emit w->grid()->doubleClicked(m->index(1, 0));
        QCOMPARE(of(b.db(), kind, "D1").owed, money("550"));
        QCOMPARE(m->text(1, "shbj"), QStringLiteral("已审核"));
        QCOMPARE(w->statusText(1), QStringLiteral("450"));

        // Deleting an approved row takes it out of the document.
        w->grid()->setCurrentIndex(m->index(0, 0));
        p.answer(true);
        click("SB66");
        QCOMPARE(p.last(), QStringLiteral("确定要删除此记录么？"));
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(w->statusText(1), QStringLiteral("150"));
        QCOMPARE(of(b.db(), kind, "D1").owed, money("850"));
    }

    void refundsAreRedAndAnEmptyDayTotalsZero()
    {
        TestBook b;
        ScriptedPrompter p;
        b.db().insert("fkfx", {{"rq", dateText(QDate::currentDate())}, {"dh", "D1"}, {"ghs", "华新"},
                               {"je", money("-30").raw()}, {"jsr", "李四"}, {"shbj", "已审核"}});
        TFfkfx1 w;
        w.show();
        QCOMPARE(w.model()->data(w.model()->index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(w.statusText(1), QStringLiteral("-30"));
        TFskfx1 empty;
        empty.show();
        QCOMPARE(empty.model()->rowCount(), 0);
        QCOMPARE(empty.statusText(1), QStringLiteral("0"));
        empty.findChild<QPushButton *>("SB33")->click();
        QCOMPARE(p.last(), QStringLiteral("没有数据可反审，请先查询！"));
    }
};

MARVODA_TEST(TestSettlementWindows)
#include "tst_settlement_ui.moc"
