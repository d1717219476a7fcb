#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"
#include "test_main.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(NumberField::Kind)

class TestNumberField : public QObject {
    Q_OBJECT
private slots:
    void typing_data()
    {
        QTest::addColumn<NumberField::Kind>("kind");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("unsigned second point refused") << NumberField::Unsigned << "1.2.3" << "1.23";
        QTest::newRow("unsigned refuses minus and letters") << NumberField::Unsigned << "-4a5" << "45";
        QTest::newRow("signed second minus refused") << NumberField::Signed << "-1-2.5.0" << "-12.50";
        QTest::newRow("signed minus after digits") << NumberField::Signed << "12-" << "12-";
        QTest::newRow("digits only") << NumberField::Digits << "07a.-3 " << "073";
    }
    void typing()
    {
        QFETCH(NumberField::Kind, kind);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QLineEdit edit;
        NumberField::attach(&edit, kind);
        QTest::keyClicks(&edit, keys);
        QCOMPARE(edit.text(), text);
    }

    // A window that puts the focus into its "0" field on opening selects the "0", so the typed
    // number replaces it instead of giving "035.5".
    void focusOnOpeningReplacesTheZero()
    {
        QLineEdit edit;
        edit.setText("0");
        NumberField::attach(&edit, NumberField::Signed);
        edit.show();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        edit.setFocus();
        QTRY_VERIFY(edit.hasSelectedText());
        QTest::keyClicks(&edit, "35.5");
        QCOMPARE(edit.text(), QString("35.5"));
    }

    // The test is on the whole text: a selected "." does not let a second one in.
    void pointTestIgnoresSelection()
    {
        QLineEdit edit;
        NumberField::attach(&edit, NumberField::Unsigned);
        edit.setText("1.5");
        edit.setSelection(1, 1);   // the "."
        QTest::keyClick(&edit, '.');
        QCOMPARE(edit.text(), QString("1.5"));
    }

    void clearingGivesZeroAtOnce()
    {
        QLineEdit edit;
        NumberField::attach(&edit, NumberField::Signed);
        edit.setText("12");
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QString("0"));
        edit.setText("  ");
        QCOMPARE(edit.text(), QString("0"));

        QLineEdit free;
        NumberField::attach(&free, NumberField::Unsigned, NumberField::MayBeEmpty);
        free.setText("5");
        free.selectAll();
        QTest::keyClick(&free, Qt::Key_Backspace);
        QCOMPARE(free.text(), QString());
    }

    void paste_data()
    {
        QTest::addColumn<NumberField::Kind>("kind");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        QTest::newRow("number") << NumberField::Unsigned << "" << " 12.5 " << "12.5";
        QTest::newRow("text refused") << NumberField::Unsigned << "3" << "abc" << "3";
        QTest::newRow("second point refused") << NumberField::Unsigned << "3." << "2.5" << "3.";
        QTest::newRow("negative amount into unsigned refused") << NumberField::Unsigned << "" << "-12.5" << "";
        QTest::newRow("negative amount into signed") << NumberField::Signed << "" << "-12.5" << "-12.5";
        QTest::newRow("over the selected number") << NumberField::Unsigned << "3.5" << "2.5" << "2.5";
        QTest::newRow("minus inside a number refused") << NumberField::Unsigned << "12" << "-" << "12";
        QTest::newRow("leading zeros of a code") << NumberField::Digits << "" << "007" << "007";
        QTest::newRow("point into digits refused") << NumberField::Digits << "1" << "2.5" << "1";
    }
    void paste()
    {
        QFETCH(NumberField::Kind, kind);
        QFETCH(QString, before);
        QFETCH(QString, clipboard);
        QFETCH(QString, after);
        QLineEdit edit;
        NumberField::attach(&edit, kind, NumberField::MayBeEmpty);
        edit.setText(before);
        if (QTest::currentDataTag() == QByteArray("over the selected number")) edit.selectAll();
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), after);
    }

    // Text reaching the field past the keys (the context menu's paste, a drop, an input method)
    // meets the rules of the keys. The text the window set (a stored negative stock in an
    // unsigned field) stands and still takes what the keys allow.
    void otherWaysIn_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<NumberField::Kind>("kind");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("piece");
        QTest::addColumn<QString>("after");
        QTest::newRow("menu paste, minus refused") << "menu" << NumberField::Unsigned << "12" << "-5" << "12";
        QTest::newRow("menu paste, digits") << "menu" << NumberField::Unsigned << "12" << "5" << "125";
        QTest::newRow("drop, second point refused") << "drop" << NumberField::Unsigned << "1.5" << ".5" << "1.5";
        QTest::newRow("drop, negative into unsigned refused") << "drop" << NumberField::Unsigned << "" << "-3" << "";
        QTest::newRow("drop, digits") << "drop" << NumberField::Unsigned << "1.5" << "25" << "1.525";
        QTest::newRow("input method, letters refused") << "ime" << NumberField::Digits << "07" << "ab" << "07";
        QTest::newRow("input method, digits") << "ime" << NumberField::Digits << "07" << "3" << "073";
        QTest::newRow("window's negative takes a key") << "key" << NumberField::Unsigned << "-11" << "5" << "-115";
        QTest::newRow("window's negative, menu minus refused") << "menu" << NumberField::Unsigned << "-11" << "-" << "-11";
        QTest::newRow("window's negative, input method digit") << "ime" << NumberField::Unsigned << "-11" << "5" << "-115";
    }
    void otherWaysIn()
    {
        QFETCH(QString, way);
        QFETCH(NumberField::Kind, kind);
        QFETCH(QString, before);
        QFETCH(QString, piece);
        QFETCH(QString, after);
        QLineEdit edit;
        NumberField::attach(&edit, kind, NumberField::MayBeEmpty);
        edit.resize(200, edit.sizeHint().height());
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setText(before);   // the caret after the text
        if (way == "key") {
            QTest::keyClicks(&edit, piece);
        } else if (way == "menu") {
            QApplication::clipboard()->setText(piece);
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(&edit, &click);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QAction *paste = nullptr;
            for (QAction *a : menu->actions())
                if (a->text().startsWith("&Paste")) paste = a;
            QVERIFY(paste);
            paste->trigger();
            menu->close();
        } else if (way == "drop") {
            QMimeData data;
            data.setText(piece);
            const QPointF end(edit.width() - 2, edit.height() / 2);
            QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&edit, &enter);
            QDragMoveEvent move(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&edit, &move);
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&edit, &drop);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(piece);
            QApplication::sendEvent(&edit, &commit);
        }
        QCOMPARE(edit.text(), after);
    }

    void normalizeAtSave_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("saved");
        QTest::newRow("four decimals") << "1.2345" << "1.23";
        QTest::newRow("half to even, down") << "2.125" << "2.12";
        QTest::newRow("half to even, up") << "2.135" << "2.14";
        QTest::newRow("two decimals stay") << "1.5" << "1.5";
        QTest::newRow("whole stays") << "12" << "12";
        QTest::newRow("negative") << "-0.125" << "-0.12";
        QTest::newRow("not a number stays for the check") << "1.2-3" << "1.2-3";
    }
    void normalizeAtSave()
    {
        QFETCH(QString, text);
        QFETCH(QString, saved);
        QLineEdit edit;
        edit.setText(text);
        NumberField::normalize(&edit);
        QCOMPARE(edit.text(), saved);
    }

    // Leaving a field reformats what was typed before the next field takes a key: a lone "-"
    // is 0, more than two decimals are rounded half to even. Another window taking the
    // keyboard is not leaving.
    void leavingReformats_data()
    {
        QTest::addColumn<NumberField::Kind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("after");
        QTest::newRow("Tab, three decimals") << NumberField::Signed << "1.234" << "tab" << "1.23";
        QTest::newRow("Enter, half to even up") << NumberField::Unsigned << "2.135" << "enter" << "2.14";
        QTest::newRow("click, half to even down") << NumberField::Unsigned << "2.125" << "click" << "2.12";
        QTest::newRow("Enter, lone minus") << NumberField::Signed << "-" << "enter" << "0";
        QTest::newRow("click, negative") << NumberField::Signed << "-0.125" << "click" << "-0.12";
        QTest::newRow("two decimals stay") << NumberField::Unsigned << "1.5" << "tab" << "1.5";
        QTest::newRow("another window is not leaving") << NumberField::Signed << "1.234" << "window" << "1.234";
        QTest::newRow("a command without focus finishes it") << NumberField::Signed << "1.234" << "command" << "1.23";
    }
    void leavingReformats()
    {
        QFETCH(NumberField::Kind, kind);
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(QString, after);
        QWidget form;
        auto *number = new QLineEdit(&form);
        auto *next = new QLineEdit(&form);
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(number);
        layout->addWidget(next);
        NumberField::attach(number, kind);
        KeyFlow::enterMovesFocus(&form, nullptr);
        // What the window does with the reformatted text has happened when the next field has the focus.
        QString seenOnArrival;
        connect(qApp, &QApplication::focusChanged, &form, [&](QWidget *, QWidget *now) {
            if (now == next) seenOnArrival = number->text();
        });
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        number->setFocus(Qt::TabFocusReason);
        number->selectAll();
        QTest::keyClicks(number, typed);
        QCOMPARE(number->text(), typed);
        if (leave == "tab") {
            QTest::keyClick(number, Qt::Key_Tab);
        } else if (leave == "enter") {
            QTest::keyClick(number, Qt::Key_Return);
        } else if (leave == "click") {
            QTest::mouseClick(next, Qt::LeftButton);
        } else if (leave == "window") {
            QWidget other;
            other.show();
            QApplication::setActiveWindow(&other);
            QVERIFY(QTest::qWaitForWindowActive(&other));
            QCOMPARE(number->text(), after);
            return;
        } else {
            NumberField::finishFocused(&form);
            QCOMPARE(number->text(), after);
            return;
        }
        QCOMPARE(QApplication::focusWidget(), next);
        QCOMPARE(number->text(), after);
        QCOMPARE(seenOnArrival, after);
    }
};

MARVODA_TEST(TestNumberField)
#include "tst_number_field.moc"
