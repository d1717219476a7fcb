#include "finance/income_expense.h"
#include "finance/ui/document_viewers.h"
#include "finance/ui/tfcxfkfx1.h"
#include "finance/ui/tfcxszfx1.h"
#include "finance/ui/tfcxyffx1.h"
#include "finance/ui/tfszfx1.h"
#include "finance/ui/tftjszfx1.h"
#include "finance/ui/tfyffx1.h"
#include "finance/ui/tfysfx1.h"
#include "master/lookup_list.h"
#include "modal.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"
#include "trade_documents.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace trade_documents;

class TestMoneyLists : public QObject {
    Q_OBJECT
private slots:
    // Every query dialog keeps from ≤ to, whichever date is picked; Esc closes each of them.
    void queryDialogsKeepThePeriodInOrder_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("payments") << "TFcxfkfx1";
        QTest::newRow("income and expense") << "TFcxszfx1";
        QTest::newRow("payables") << "TFcxyffx1";
    }
    void queryDialogsKeepThePeriodInOrder()
    {
        QFETCH(QString, dialog);
        TestBook b;
        std::unique_ptr<MoneyQueryDialog> d;
        if (dialog == "TFcxfkfx1") d = std::make_unique<TFcxfkfx1>();
        else if (dialog == "TFcxszfx1") d = std::make_unique<TFcxszfx1>();
        else d = std::make_unique<TFcxyffx1>();
        d->show();
        auto *from = d->findChild<QDateEdit *>("DateTimePicker1");
        auto *to = d->findChild<QDateEdit *>("DateTimePicker2");
        const QDate today = QDate::currentDate();
        QCOMPARE(to->date(), today);
        QCOMPARE(from->date(), today.addMonths(-1));
        QVERIFY(!d->findChild<QCheckBox *>("CheckBox1")->isChecked());
        QCOMPARE(d->focusWidget(), d->text(0));
        from->setDate(today.addDays(5));
        QCOMPARE(to->date(), today.addDays(5));
        to->setDate(today.addDays(-40));
        QCOMPARE(from->date(), today.addDays(-40));
        QTest::keyClick(d->text(0), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
    }

    void paymentQueryEnterWalkRuns()
    {
        TestBook b;
        TFcxfkfx1 d;
        d.show();
        QApplication::setActiveWindow(&d);
        d.combo(1)->setCurrentIndex(2);
        QTest::keyClicks(d.text(0), "hx");
        d.findChild<QCheckBox *>("CheckBox1")->setChecked(true);
        QTest::keyClick(d.text(0), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), d.text(1));
        QTest::keyClick(d.text(1), Qt::Key_Return);
        QTest::keyClick(d.text(2), Qt::Key_Return);   // Enter in the number runs the query
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const SettlementFilter f = d.filter();
        QCOMPARE(f.partner, QStringLiteral("hx"));
        QCOMPARE(f.direction, SettlementFilter::Refunded);
        QCOMPARE(f.approval, SettlementFilter::AnyApproval);
        QVERIFY(f.dates);
    }

    void incomeExpenseDialog()
    {
        TestBook b;
        ScriptedPrompter p;
        TFtjszfx1 d;
        d.show();
        QCOMPARE(d.focusWidget()->objectName(), QStringLiteral("ComboBox1"));
        auto *category = d.findChild<QComboBox *>("ComboBox1");
        QCOMPARE(category->currentText(), QStringLiteral("支出"));
        d.lookupChosen(LookupKind::IncomeExpenseItem, "tjszfx", "房租");
        d.partnerChosen("tjszfx", "李四");
        auto *je = d.findChild<QLineEdit *>("je");
        je->setText("12.505");
        d.findChild<QLineEdit *>("bz")->setText("三月");

        category->setCurrentText("其他");   // typed: neither income nor expense
        d.saveClick();
        QCOMPARE(p.texts(), QStringList{"类别只可为收入或支出！"});
        QCOMPARE(d.focusWidget(), category);

        category->setCurrentText("支出");
        d.saveClick();
        QCOMPARE(p.texts().size(), 1);
        QSqlQuery q = b.db().exec("SELECT se, ze, xm FROM szfx");
        QVERIFY(q.next());
        QCOMPARE(Decimal::fromRaw(q.value(0).toLongLong()), money("0"));
        QCOMPARE(Decimal::fromRaw(q.value(1).toLongLong()), money("12.5"));
        // Open for the next entry: item and amount cleared, the rest kept.
        QVERIFY(d.isVisible());
        QCOMPARE(d.findChild<QLineEdit *>("xm")->text(), QString());
        QCOMPARE(je->text(), QStringLiteral("0"));
        QCOMPARE(d.findChild<QLineEdit *>("jsr")->text(), QStringLiteral("李四"));
        QCOMPARE(d.findChild<QLineEdit *>("bz")->text(), QStringLiteral("三月"));
        QCOMPARE(category->currentText(), QStringLiteral("支出"));
        QCOMPARE(d.focusWidget()->objectName(), QStringLiteral("xm"));
    }

    void incomeExpenseList()
    {
        TestBook b;
        ScriptedPrompter p;
        IncomeExpenseBook book(b.db());
        const QDate today = QDate::currentDate();
        book.save({today, "支出", "房租", money("1000"), "李四", {}});
        book.save({today, "收入", "利息", money("30.5"), "李四", {}});
        book.save({today.addDays(-3), "收入", "废料", money("50"), "李四", {}});
        TFszfx1 w;
        w.show();
        RecordTableModel *m = w.model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(w.statusText(1), QStringLiteral("30.5"));
        QCOMPARE(w.statusText(2), QStringLiteral("1000"));
        QCOMPARE(w.statusText(3), QStringLiteral("-969.5"));
        QCOMPARE(m->data(m->index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!m->data(m->index(1, 0), Qt::ForegroundRole).isValid());

        // Modified from expense to income: the amount moves and the totals follow.
        whenModal<TFtjszfx1>([](TFtjszfx1 *d) {
            QCOMPARE(d->mode(), QStringLiteral("修改"));
            QCOMPARE(d->findChild<QLineEdit *>("je")->text(), QStringLiteral("1000.00"));
            d->findChild<QComboBox *>("ComboBox1")->setCurrentText("收入");
            d->saveClick();
        });
        w.grid()->setCurrentIndex(m->index(0, 0));
        w.findChild<QPushButton *>("SB55")->click();
        QCOMPARE(w.statusText(1), QStringLiteral("1030.5"));
        QCOMPARE(w.statusText(2), QStringLiteral("0"));

        p.answer(true);
        w.findChild<QPushButton *>("SB66")->click();
        QCOMPARE(p.last(), QStringLiteral("确定要删除此收支么？"));
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(w.statusText(3), QStringLiteral("30.5"));
        ReportData r = w.reportData();
        QCOMPARE(r.rows.size(), 1);
        QCOMPARE(r.totals.value("se"), QStringLiteral("30.5"));
        QCOMPARE(r.totals.value("ze"), QStringLiteral("0"));
    }

    void payablesListAndViewer()
    {
        TestBook b;
        ScriptedPrompter p;
        add(b.db(), SettlementKind::Payment, "CG1", "华新", money("100"), money("20"));
        add(b.db(), SettlementKind::Payment, "CG2", "海螺", money("50"), money("80"));
        add(b.db(), SettlementKind::Payment, "CG3", "海螺", money("50"), money("50"));
        QStringList opened;
        DocumentViewers::setOpener([&](const QString &table, const QString &dh, const QStringList &listed) {
            opened << table << dh << listed;
        });
        TFyffx1 w;
        w.show();
        RecordTableModel *m = w.model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(w.statusText(1), QStringLiteral("50"));
        QCOMPARE(w.statusText(2), QStringLiteral("默认显示全部数据"));
        QCOMPARE(m->data(m->index(1, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        w.grid()->setCurrentIndex(m->index(1, 0));
        emit w.grid()->doubleClicked(m->index(1, 0));
        QCOMPARE(opened, (QStringList{"cgglz", "CG2", "CG1", "CG2"}));
        opened.clear();
        w.findChild<QPushButton *>("SB66")->click();
        QCOMPARE(opened, (QStringList{"cgglz", "CG2", "CG1", "CG2"}));

        PayablesFilter owedBack;
        owedBack.matchTexts = true;
        owedBack.partner = "华新";
        owedBack.direction = PayablesFilter::OwedBack;
        w.runQuery(owedBack);
        w.findChild<QPushButton *>("SB66")->click();
        QCOMPARE(p.texts(), QStringList{"没有单据可查阅！"});
        QCOMPARE(w.statusText(1), QStringLiteral("0"));
        DocumentViewers::setOpener({});

        TFysfx1 receivables;
        receivables.show();
        receivables.findChild<QPushButton *>("SB66")->click();
        QCOMPARE(p.last(), QStringLiteral("没有明细可查阅！"));
        QCOMPARE(receivables.reportData().title.endsWith("应收明细表"), true);
    }
};

MARVODA_TEST(TestMoneyLists)
#include "tst_money_lists_ui.moc"
