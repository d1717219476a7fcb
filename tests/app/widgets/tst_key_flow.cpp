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
        KeyFlow::onEnter(f.name, [&] { ++opened; return f.name->text().isEmpty(); });
        f.show();
        f.name->setFocus();
        pressEnter();   // empty: the hook handles it (opens its list)
        QCOMPARE(opened, 1);
        QCOMPARE(QApplication::focusWidget(), f.name);
        f.name->setText("x");
        pressEnter();
        QCOMPARE(opened, 2);
        QCOMPARE(QApplication::focusWidget(), f.amount);
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
