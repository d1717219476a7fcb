#include "documents/ui/tftjxsd1.h"
#include "entry_fixture.h"
#include "master/ui/tftjsp1.h"
#include "test_main.h"

#include <QDate>
#include <QElapsedTimer>
#include <QProcess>

namespace {

// Real key presses on the X server, so they pass through the input method as a clerk's do.
void xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    QVERIFY(p.waitForStarted());
    // Keep serving the window while the keys arrive.
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 20000) QTest::qWait(50);
    QCOMPARE(p.exitCode(), 0);
}

// There is no window manager on the test's X server: the window takes the keyboard focus
// itself, as a window manager would give it.
void showFocused(QWidget &w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    xdotool({"windowfocus", "--sync", QString::number(w.winId())});
    QTRY_VERIFY(w.isActiveWindow());
}

// Turns pinyin on (Ctrl+Space), types the syllables, takes the first candidate (Space), and
// turns the input method off again.
void typePinyin(QLineEdit *field, const QString &syllables)
{
    field->setFocus();
    field->selectAll();
    QTest::qWait(800);   // the field's input context reaches fcitx5 over D-Bus
    xdotool({"key", "--delay", "150", "ctrl+space"});
    QTest::qWait(300);
    xdotool({"type", "--delay", "120", syllables});
    QTest::qWait(300);
    xdotool({"key", "--delay", "150", "space"});
    QTest::qWait(300);
    xdotool({"key", "--delay", "150", "ctrl+space"});
    QTest::qWait(300);
}

} // namespace

// Chinese typed with fcitx5's pinyin engine, the way the counter types it, arrives in the book.
class TestSystemTyping : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == "xcb", "run me through tools/system-tests/with-fcitx5.sh");
    }

    void customerOfARetailSale()
    {
        EntryBook b;
        b.book.db().insert("sp", {{"ck", "一号库"}, {"lb", "水泥"}, {"txm", "SN42"}, {"ppgg", "水泥42.5"}, {"dw", "包"},
                                  {"kcsl", 0}, {"kcjg", 0}, {"kcje", 0}, {"xjls", Decimal::parseOr0(u"32").raw()}});
        TFtjxsd1 w;
        showFocused(w);
        fillHeader(w, QString());
        QLineEdit *kh = fieldOf(&w, "kh");
        typePinyin(kh, "zhangsan");
        QTRY_COMPARE_WITH_TIMEOUT(kh->text(), QString("张三"), 5000);
        kh->setFocus();
        press(Qt::Key_Return);
        keyInLine(w, "SN42", "2");
        press(Qt::Key_F8);
        QCOMPARE(b.prompter.texts(), QStringList());
        const QString dh = "XS" + QDate::currentDate().toString("yyyyMMdd") + "001";
        QCOMPARE(rowsOf(b.book.db(), "SELECT dh, kh FROM xsglz"), QStringList{dh + "|张三"});
        QCOMPARE(rowsOf(b.book.db(), "SELECT DISTINCT kh FROM xsfx"), QStringList{"张三"});
    }

    void nameOfNewGoods()
    {
        TestBook book;
        ScriptedPrompter p;
        TFtjsp1 d;
        d.setAdding();
        showFocused(d);
        d.field("ck")->setText("一号库");
        d.field("lb")->setText("水泥");
        d.field("dw")->setText("包");
        typePinyin(d.field("ppgg"), "shuini");
        QTRY_COMPARE_WITH_TIMEOUT(d.field("ppgg")->text(), QString("水泥"), 5000);
        QCOMPARE(d.field("txm")->text(), QString("SN"));   // the simple code follows the typed name
        d.saveClick();
        QVERIFY2(p.messages().isEmpty(), qPrintable(p.last()));
        QCOMPARE(rowsOf(book.db(), "SELECT ppgg, txm FROM sp"), QStringList{"水泥|SN"});
    }
};

MARVODA_TEST(TestSystemTyping)
#include "tst_system_typing.moc"
