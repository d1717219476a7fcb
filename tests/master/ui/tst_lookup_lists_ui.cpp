#include "app/widgets/record_table_model.h"
#include "master/ui/tfck1.h"
#include "master/ui/tflb1.h"
#include "master/ui/tfszxm1.h"
#include "master/ui/tftjlb1.h"
#include "master/ui/tftjszxm1.h"
#include "scripted_prompter.h"
#include "test_book.h"
#include "test_main.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

struct RecordingCaller : LookupCaller {
    QStringList calls;
    void lookupChosen(LookupKind kind, const QString &mark, const QString &value) override
    {
        calls << QStringLiteral("%1:%2:%3").arg(int(kind)).arg(mark, value);
    }
};

QPushButton *button(QWidget *w, const QString &caption) { return w->findChild<QPushButton *>(caption); }

} // namespace

class TestLookupListsUi : public QObject {
    Q_OBJECT
private slots:
    void addDialogTrimsRefusesRepeatsAndStaysOpen()
    {
        TestBook book;
        ScriptedPrompter p;
        TFtjlb1 d;
        d.show();
        QCOMPARE(d.windowTitle(), QString("新增商品类别"));
        auto *edit = d.findChild<QLineEdit *>("Edit1");
        edit->setText("  钢材 ");
        QTest::keyClick(edit, Qt::Key_Return);   // Enter in the only field saves
        QVERIFY(p.messages().isEmpty());
        QVERIFY(edit->text().isEmpty());
        QVERIFY(d.isVisible());
        edit->setText("钢材");
        button(&d, "保存")->click();
        QCOMPARE(p.last(), QString("商品类别不可重复！"));
        QCOMPARE(p.lastKind(), QString("warn"));
        QCOMPARE(edit->text(), QString("钢材"));   // kept for correcting
        edit->setText(" ");
        button(&d, "保存")->click();
        QCOMPARE(p.last(), QString("商品类别不可为空！"));
        QCOMPARE(p.lastKind(), QString("info"));
        QCOMPARE(LookupList(book.db(), LookupKind::Category).values(), QStringList{"钢材"});
    }

    // Another counter holds the book while the operator saves a category: the save is refused
    // with the database's reason, the add dialog stays open with what was typed, and once the
    // book is free the same button saves.
    void savingIntoALockedBookShowsTheErrorAndTheDialogStays()
    {
        TestBook book;
        ScriptedPrompter p;
        book.db().exec("PRAGMA busy_timeout = 100");   // the test need not wait long for the lock
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other counter");
            other.setDatabaseName(book.location().file);
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec("BEGIN EXCLUSIVE"));

            TFlb1 w;
            w.show();
            QStringList seen;   // what the dialog showed after each click
            QTimer::singleShot(0, [&] {
                auto *d = qobject_cast<TFtjlb1 *>(QApplication::activeModalWidget());
                if (!d) return;
                auto *edit = d->findChild<QLineEdit *>("Edit1");
                edit->setText("钢材");
                QTest::mouseClick(button(d, "保存"), Qt::LeftButton);
                seen << QString("%1:%2").arg(d->isVisible()).arg(edit->text());
                lock.exec("ROLLBACK");
                QTest::mouseClick(button(d, "保存"), Qt::LeftButton);
                seen << QString("%1:%2").arg(d->isVisible()).arg(edit->text());
                QTest::keyClick(edit, Qt::Key_Escape);
            });
            QTest::mouseClick(button(&w, "新增"), Qt::LeftButton);
            QCOMPARE(seen, (QStringList{"1:钢材", "1:"}));
            QCOMPARE(p.messages().size(), 1);
            QCOMPARE(p.lastKind(), QString("error"));
            QVERIFY2(p.last().contains("locked"), qPrintable(p.last()));
            QCOMPARE(w.model()->rowCount(), 1);
            QVERIFY(w.isVisible());
        }
        QSqlDatabase::removeDatabase("other counter");
        QCOMPARE(LookupList(book.db(), LookupKind::Category).values(), QStringList{"钢材"});
    }

    void editFromTheContextMenuAcceptsAnExistingName()
    {
        TestBook book;
        ScriptedPrompter p;
        LookupList list(book.db(), LookupKind::Category);
        list.add({"钢材"});
        list.add({"水泥"});
        TFlb1 w;
        w.show();
        w.grid()->selectRow(1);
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<LookupAddDialog *>(QApplication::activeModalWidget());
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QString("修改商品类别"));
            auto *edit = d->findChild<QLineEdit *>("Edit1");
            QCOMPARE(edit->text(), QString("水泥"));
            edit->setText("钢材");
            d->findChild<QPushButton *>("保存")->click();
        });
        w.grid()->findChild<QAction *>("修改")->trigger();
        QVERIFY(p.messages().isEmpty());
        QCOMPARE(list.values(), (QStringList{"钢材", "钢材"}));
        QCOMPARE(w.model()->rowCount(), 2);
    }

    void chooseWritesTheFieldTheMarkNames()
    {
        TestBook book;
        ScriptedPrompter p;
        LookupList(book.db(), LookupKind::Warehouse).add({"一号库"});
        LookupList(book.db(), LookupKind::Warehouse).add({"二号库"});
        RecordingCaller caller;
        TFck1 w;
        w.setCaller(&caller, "tjdb2");
        w.show();
        w.grid()->setCurrentIndex(w.model()->index(1, 1));
        QApplication::setActiveWindow(&w);
        w.grid()->setFocus();
        QTest::keyClick(w.grid(), Qt::Key_Return);   // Enter in the grid chooses
        QCOMPARE(caller.calls, QStringList{QString("%1:tjdb2:二号库").arg(int(LookupKind::Warehouse))});
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void nothingToChooseOnAnEmptyList()
    {
        TestBook book;
        ScriptedPrompter p;
        RecordingCaller caller;
        TFck1 w;
        w.setCaller(&caller, "tjsp");
        w.show();
        button(&w, "选择")->click();
        QCOMPARE(p.texts(), QStringList{"没有仓库可选择！"});
        QCOMPARE(p.lastKind(), QString("warn"));
        QVERIFY(caller.calls.isEmpty());
        QVERIFY(w.isVisible());
        button(&w, "删除")->click();
        QCOMPARE(p.last(), QString("没有仓库可删除！"));
    }

    void deleteAsksFirst()
    {
        TestBook book;
        ScriptedPrompter p;
        LookupList(book.db(), LookupKind::Warehouse).add({"一号库"});
        TFck1 w;
        w.show();
        button(&w, "删除")->click();   // Cancel
        QCOMPARE(p.last(), QString("确定要删除此仓库么？"));
        QCOMPARE(w.model()->rowCount(), 1);
        p.answer(true);
        button(&w, "删除")->click();
        QCOMPARE(w.model()->rowCount(), 0);
        QVERIFY(LookupList(book.db(), LookupKind::Warehouse).values().isEmpty());
    }

    void incomeAndExpenseItemsShareANameThroughTheDialog()
    {
        TestBook book;
        ScriptedPrompter p;
        TFtjszxm1 d;
        d.show();
        auto *combo = d.findChild<QComboBox *>("ComboBox1");
        auto *edit = d.findChild<QLineEdit *>("Edit1");
        QCOMPARE(combo->currentText(), QString("收入"));
        QVERIFY(!combo->isEditable());
        edit->setText("运费");
        button(&d, "保存")->click();
        QCOMPARE(combo->currentText(), QString("收入"));   // the category stays
        combo->setCurrentIndex(1);
        edit->setText("运费");
        button(&d, "保存")->click();
        edit->setText("运费");
        button(&d, "保存")->click();
        QCOMPARE(p.texts(), QStringList{"项目不可重复！"});
        TFszxm1 w;
        QCOMPARE(w.model()->rowCount(), 2);
        QCOMPARE(w.findChild<QAction *>("修改"), nullptr);   // no edit for these lists
    }
};

MARVODA_TEST(TestLookupListsUi)
#include "tst_lookup_lists_ui.moc"
