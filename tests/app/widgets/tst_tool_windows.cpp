#include "app/ui/tfntoc1.h"
#include "app/ui/tfzhaoling1.h"
#include "scripted_prompter.h"
#include "test_main.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

QLineEdit *edit(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }

void typeInto(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

// The tool as the main window holds it: an MDI child.
template <class W>
struct InMdi {
    QMdiArea area;
    QPointer<W> window = new W;
    QPointer<QMdiSubWindow> sub;
    InMdi()
    {
        sub = area.addSubWindow(window);
        area.resize(700, 400);
        area.show();
        sub->show();
        QApplication::setActiveWindow(&area);
    }
};

} // namespace

class TestToolWindows : public QObject {
    Q_OBJECT
private slots:
    void change_data()
    {
        QTest::addColumn<QString>("due");
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QString>("change");
        QTest::newRow("change given") << "35.5" << "50" << "14.50";
        QTest::newRow("tendered below due") << "35.5" << "31" << "-4.50";
        QTest::newRow("negative due") << "-10" << "0" << "10.00";
        QTest::newRow("four decimals exact") << "0.0001" << "0.0002" << "0.00";
    }
    void change()
    {
        QFETCH(QString, due);
        QFETCH(QString, tendered);
        QFETCH(QString, change);
        ScriptedPrompter p;
        InMdi<TFzhaoling1> w;
        QVERIFY(QTest::qWaitForWindowActive(&w.area));
        QCOMPARE(edit(w.window, "Edit3")->text(), QString("0"));
        QCOMPARE(QApplication::focusWidget(), edit(w.window, "Edit1"));
        typeInto(edit(w.window, "Edit1"), due);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), edit(w.window, "Edit2"));
        typeInto(edit(w.window, "Edit2"), tendered);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);   // ignored there
        QCOMPARE(QApplication::focusWidget(), edit(w.window, "Edit2"));
        QCOMPARE(edit(w.window, "Edit3")->text(), change);
        QVERIFY(p.messages().isEmpty());
    }

    void changeToolMinusAndBadText()
    {
        ScriptedPrompter p;
        InMdi<TFzhaoling1> w;
        QLineEdit *e1 = edit(w.window, "Edit1"), *e2 = edit(w.window, "Edit2"), *e3 = edit(w.window, "Edit3");
        typeInto(e2, "20");
        QCOMPARE(e3->text(), QString("20.00"));
        typeInto(e1, "-");   // a lone minus in the amount due shows the tendered text
        QCOMPARE(e3->text(), QString("20"));
        typeInto(e1, "5");
        QCOMPARE(e3->text(), QString("15.00"));
        QTest::keyClicks(e1, "-");   // "5-" is not a number: said so, the change stays
        QCOMPARE(e1->text(), QString("5-"));
        QCOMPARE(p.texts(), QStringList{"金额格式不正确！"});
        QCOMPARE(p.lastKind(), QString("warn"));
        QCOMPARE(e3->text(), QString("15.00"));
        typeInto(e2, "-");
        QCOMPARE(e3->text(), QString("0"));
        e1->setText("");   // emptied: "0" at once
        QCOMPARE(e1->text(), QString("0"));
    }

    void changeToolOverflowIsRefusedNotFatal()
    {
        ScriptedPrompter p;
        TFzhaoling1 w;
        edit(&w, "Edit1")->setText("-900000000000000");
        edit(&w, "Edit2")->setText("900000000000000");
        QCOMPARE(p.last(), QString("金额格式不正确！"));
    }

    void capitals_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("capitals");
        QTest::newRow("amount") << "12345.67" << "壹万贰仟叁佰肆拾伍圆陆角柒分";
        QTest::newRow("minus not typed") << "-105" << "壹佰零伍圆整";
        QTest::newRow("second point refused") << "0.5.5" << "伍角伍分";
    }
    void capitals()
    {
        QFETCH(QString, typed);
        QFETCH(QString, capitals);
        ScriptedPrompter p;
        InMdi<TFntoc1> w;
        QVERIFY(QTest::qWaitForWindowActive(&w.area));
        QLineEdit *e1 = edit(w.window, "Edit1");
        QCOMPARE(e1->text(), QString("0.00"));
        QCOMPARE(edit(w.window, "Edit2")->text(), QString("零"));
        QCOMPARE(QApplication::focusWidget(), e1);
        QTest::keyClicks(e1, typed);   // the "0.00" is selected on show: typing replaces it
        QTest::keyClick(e1, Qt::Key_Return);
        QCOMPARE(edit(w.window, "Edit2")->text(), capitals);
        QVERIFY(p.messages().isEmpty());
    }

    void capitalsRefusePastedNegativeAndEmptyField()
    {
        ScriptedPrompter p;
        InMdi<TFntoc1> w;
        QVERIFY(QTest::qWaitForWindowActive(&w.area));
        QLineEdit *e1 = edit(w.window, "Edit1");
        QApplication::clipboard()->setText("-12.5");   // "-" is not a key of this field
        e1->selectAll();
        QTest::keyClick(e1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e1->text(), QString("0.00"));
        QApplication::clipboard()->setText("12.5");
        QTest::keyClick(e1, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(e1, Qt::Key_Return);
        QCOMPARE(edit(w.window, "Edit2")->text(), QString("壹拾贰圆伍角整"));

        e1->selectAll();
        QTest::keyClick(e1, Qt::Key_Backspace);
        QCOMPARE(e1->text(), QString());
        QTest::keyClick(e1, Qt::Key_Return);
        QCOMPARE(p.texts(), QStringList{"小写金额不可为空！"});
        QCOMPARE(p.lastKind(), QString("info"));
        QCOMPARE(QApplication::focusWidget(), e1);

        w.window->findChild<QPushButton *>("BitBtn2")->setFocus();   // leaving the field
        QCOMPARE(e1->text(), QString("0.00"));
        e1->setText("7.5");
        e1->setFocus();
        w.window->findChild<QPushButton *>("BitBtn1")->setFocus();
        QCOMPARE(e1->text(), QString("7.50"));
    }

    void escClosesTheSubwindow_data()
    {
        QTest::addColumn<bool>("capitalsTool");
        QTest::newRow("TFntoc1") << true;
        QTest::newRow("TFzhaoling1") << false;
    }
    void escClosesTheSubwindow()
    {
        QFETCH(bool, capitalsTool);
        QMdiArea area;
        QWidget *tool = capitalsTool ? static_cast<QWidget *>(new TFntoc1) : new TFzhaoling1;
        QPointer<QWidget> alive(tool);
        QPointer<QMdiSubWindow> sub = area.addSubWindow(tool);
        area.show();
        sub->show();
        QApplication::setActiveWindow(&area);
        QVERIFY(QTest::qWaitForWindowActive(&area));
        QCOMPARE(sub->windowTitle(), capitalsTool ? QString("人民币大小写转换") : QString("计算零钱"));
        QLineEdit *e1 = edit(tool, "Edit1");
        e1->setFocus();
        QTest::keyClick(e1, Qt::Key_Escape);
        QTRY_VERIFY(sub.isNull());
        QVERIFY(alive.isNull());
    }
};

MARVODA_TEST(TestToolWindows)
#include "tst_tool_windows.moc"
