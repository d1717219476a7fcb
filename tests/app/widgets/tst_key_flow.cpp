#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"
#include "test_main.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// A dialog with one control of each kind, a read-only field, a memo and the main button.
struct Form {
    QDialog dialog;
    QLineEdit *name = new QLineEdit(&dialog);
    QLineEdit *amount = new QLineEdit(&dialog);
    QComboBox *kind = new QComboBox(&dialog);
    QLineEdit *listField = new QLineEdit(&dialog);   // filled by a list: read only
    QSpinBox *count = new QSpinBox(&dialog);
    QDateEdit *date = new QDateEdit(&dialog);
    QComboBox *place = new QComboBox(&dialog);
    QTextEdit *memo = new QTextEdit(&dialog);
    QLineEdit *last = new QLineEdit(&dialog);
    QPushButton *save = new QPushButton("保存", &dialog);
    QPushButton *close = new QPushButton("关闭", &dialog);

    Form()
    {
        auto *l = new QVBoxLayout(&dialog);
        for (QWidget *w : std::initializer_list<QWidget *>{name, amount, kind, listField, count, date, place, memo, last, save, close})
            l->addWidget(w);
        kind->addItems({"a", "b"});
        place->setEditable(true);
        listField->setReadOnly(true);
        save->setAutoDefault(false);
        close->setAutoDefault(false);
        NumberField::attach(amount, NumberField::Unsigned);
        amount->setText("12");
    }
    void show()
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }
};

void pressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

} // namespace

class TestKeyFlow : public QObject {
    Q_OBJECT
private slots:
    void enterWalksTheFieldsThenSaves()
    {
        Form f;
        KeyFlow::enterMovesFocus(&f.dialog, f.save);
        QSignalSpy saved(f.save, &QPushButton::clicked);
        f.show();
        f.name->setFocus();
        pressEnter();
        QCOMPARE(QApplication::focusWidget(), f.amount);
        pressEnter();   // a number field moves on and keeps its text
        QCOMPARE(f.amount->text(), QString("12"));
        QCOMPARE(QApplication::focusWidget(), f.kind);
        pressEnter();   // the read-only list field is passed over
        QCOMPARE(QApplication::focusWidget(), f.count);
        pressEnter();
        QCOMPARE(f.date->hasFocus(), true);
        pressEnter();
        QCOMPARE(f.place->hasFocus(), true);
        pressEnter();   // an editable combo box: its inner line edit had the key
        QCOMPARE(QApplication::focusWidget(), f.memo);
        pressEnter();   // the memo keeps Enter for its new line
        QCOMPARE(QApplication::focusWidget(), f.memo);
        QCOMPARE(f.memo->toPlainText(), QString("\n"));
        f.last->setFocus();
        QCOMPARE(saved.count(), 0);
        pressEnter();
        QCOMPARE(saved.count(), 1);
        QVERIFY(f.dialog.isVisible());   // the dialog's default-button handling did not run
    }

    void lastFieldWithoutMainButtonIgnoresEnter()
    {
        Form f;
        KeyFlow::enterMovesFocus(&f.dialog, nullptr);
        f.show();
        f.last->setFocus();
        pressEnter();
        QCOMPARE(QApplication::focusWidget(), f.last);
        QVERIFY(f.dialog.isVisible());
    }

    void enterHookRunsFirst()
    {
        Form f;
        KeyFlow::enterMovesFocus(&f.dialog, f.save);
        int opened = 0;
        // The read-only list field opens its list on Enter while empty.
        KeyFlow::onEnter(f.listField, [&] { ++opened; return f.listField->text().isEmpty(); });
        f.show();
        f.kind->setFocus();
        pressEnter();   // the list field is a stop now
        QCOMPARE(QApplication::focusWidget(), f.listField);
        pressEnter();
        QCOMPARE(opened, 1);
        QCOMPARE(QApplication::focusWidget(), f.listField);
        f.listField->setText("总仓");
        pressEnter();
        QCOMPARE(opened, 2);
        QCOMPARE(QApplication::focusWidget(), f.count);
    }

    void escClicksCloseButton()
    {
        Form f;
        KeyFlow::escCloses(&f.dialog, f.close);
        QSignalSpy closed(f.close, &QPushButton::clicked);
        f.show();
        f.count->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(f.dialog.isVisible());   // the button decides; QDialog's own reject did not run
    }

    void escClosesMdiSubwindow()
    {
        QMdiArea area;
        auto *child = new QWidget;
        child->setAttribute(Qt::WA_DeleteOnClose);
        auto *edit = new QLineEdit(child);
        new QVBoxLayout(child);
        child->layout()->addWidget(edit);
        KeyFlow::escCloses(child);
        QPointer<QMdiSubWindow> sub = area.addSubWindow(child);
        QPointer<QWidget> alive(child);
        area.show();
        QApplication::setActiveWindow(&area);
        QVERIFY(QTest::qWaitForWindowActive(&area));
        sub->show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        QTRY_VERIFY(sub.isNull());
        QVERIFY(alive.isNull());
        QVERIFY(area.subWindowList().isEmpty());
    }

    // An entry window's F-keys act wherever its focus is, even over the main window's own
    // shortcut for the same key; keys it does not claim still reach that shortcut.
    void functionKeysComeBeforeTheMainWindowsShortcuts()
    {
        QMdiArea area;
        QStringList ran;
        auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), &area);
        QObject::connect(menuKey, &QShortcut::activated, &area, [&ran] { ran << "main F10"; });
        auto *menuKey2 = new QShortcut(QKeySequence(Qt::Key_F4), &area);
        QObject::connect(menuKey2, &QShortcut::activated, &area, [&ran] { ran << "main F4"; });
        auto *child = new QWidget;
        auto *edit = new QLineEdit(child);
        auto *grid = new QTableView(child);
        new QVBoxLayout(child);
        child->layout()->addWidget(edit);
        child->layout()->addWidget(grid);
        KeyFlow::functionKeys(child, {{Qt::Key_F10, [&ran] { ran << "add line"; }}, {Qt::Key_F5, [&ran] { ran << "start"; }}});
        area.addSubWindow(child)->show();
        area.show();
        QApplication::setActiveWindow(&area);
        QVERIFY(QTest::qWaitForWindowActive(&area));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F10);
        QTest::keyClick(grid, Qt::Key_F5);
        QTest::keyClick(edit, Qt::Key_F4);
        QTest::keyClick(edit, Qt::Key_F10, Qt::ControlModifier);   // not the window's key
        QCOMPARE(ran, (QStringList{"add line", "start", "main F4"}));
        QCOMPARE(edit->text(), QString());
    }

    void gridEnterActsAsTab()
    {
        QStandardItemModel model(3, 3);
        QTableView grid;
        grid.setModel(&model);
        KeyFlow::gridEnterAsTab(&grid);
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        grid.setCurrentIndex(model.index(1, 0));
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(grid.currentIndex(), model.index(1, 1));
    }

    void gridActivatesChoose()
    {
        QStandardItemModel model(3, 1);
        QTableView grid;
        grid.setModel(&model);
        QPushButton choose("选择");
        KeyFlow::gridActivates(&grid, &choose);
        QSignalSpy chosen(&choose, &QPushButton::clicked);
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        grid.setCurrentIndex(model.index(2, 0));
        QTest::keyClick(&grid, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(chosen.count(), 1);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(model.index(0, 0)).center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(model.index(0, 0)).center());
        QCOMPARE(chosen.count(), 2);
    }
};

MARVODA_TEST(TestKeyFlow)
#include "tst_key_flow.moc"
