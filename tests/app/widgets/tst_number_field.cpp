#include "app/widgets/number_field.h"
#include "test_main.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

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
        QTest::newRow("negative amount into unsigned") << NumberField::Unsigned << "" << "-12.5" << "-12.5";
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
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
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
};

MARVODA_TEST(TestNumberField)
#include "tst_number_field.moc"
