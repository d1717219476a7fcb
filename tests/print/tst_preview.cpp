#include "print/print_layouts.h"
#include "print/ui/tfdypreview1.h"
#include "scripted_prompter.h"
#include "test_main.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

ReportData rows(int n)
{
    ReportData d;
    d.title = QStringLiteral("宏达建材员工资料表");
    for (int i = 0; i < n; ++i) d.rows.append({{"xm", QStringLiteral("员工%1").arg(i)}, {"xb", QStringLiteral("男")}});
    return d;
}

QToolButton *button(QWidget &w, const char *name)
{
    auto *b = w.findChild<QToolButton *>(QString::fromLatin1(name));
    if (!b) qFatal("no button %s", name);
    return b;
}

QString statusText(QWidget &w) { return w.findChild<QLabel *>("PageText")->text(); }

} // namespace

class TestPreview : public QObject {
    Q_OBJECT
private slots:
    void captionsAndStartState()
    {
        TFdyPreview1 w(PrintLayouts::get("TFdyyg1"), rows(3));
        QCOMPARE(w.windowTitle(), QStringLiteral("打印预览"));
        QVERIFY(w.isModal());
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        const QList<std::pair<const char *, QString>> captions = {
            {"SB1", "首页"}, {"SB2", "上页"}, {"SB3", "下页"}, {"SB4", "尾页"},
            {"SB5", "缩放"}, {"SB6", "设置"}, {"SB7", "打印"}, {"SB8", "关闭"}};
        for (const auto &[name, caption] : captions) QCOMPARE(button(w, name)->text(), caption);
        QCOMPARE(w.zoom(), TFdyPreview1::Zoom::Actual);
        // Pages are built once the event loop runs; the progress bar goes when they are done.
        QTRY_VERIFY(w.isBuilt());
        QCOMPARE(w.pageCount(), 1);
        QCOMPARE(statusText(w), QStringLiteral(" 第 1 页 共 1 页"));
        QVERIFY(w.findChild<QProgressBar *>()->isHidden());
    }

    void pageKeysStayWithinThePages()
    {
        TFdyPreview1 w(PrintLayouts::get("TFdyyg1"), rows(100));
        w.buildAll();
        QCOMPARE(w.pageCount(), 3);
        QCOMPARE(w.currentPage(), 1);
        const QList<std::pair<const char *, int>> steps = {
            {"SB2", 1}, {"SB3", 2}, {"SB3", 3}, {"SB3", 3}, {"SB2", 2}, {"SB1", 1}, {"SB4", 3}, {"SB1", 1}, {"SB2", 1}};
        for (const auto &[name, page] : steps) {
            QTest::mouseClick(button(w, name), Qt::LeftButton);
            QCOMPARE(w.currentPage(), page);
            QCOMPARE(statusText(w), QStringLiteral(" 第 %1 页 共 3 页").arg(page));
        }
    }

    void zoomMenuOpensOnReleaseOverTheButton()
    {
        TFdyPreview1 w(PrintLayouts::get("TFdyyg1"), rows(3));
        w.setWindowState(Qt::WindowNoState);
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.buildAll();
        QToolButton *zoom = button(w, "SB5");
        QTest::mousePress(zoom, Qt::LeftButton);
        QVERIFY(!w.zoomMenu()->isVisible());
        QTest::mouseRelease(zoom, Qt::LeftButton);
        QTRY_VERIFY(w.zoomMenu()->isVisible());
        QStringList texts;
        for (QAction *a : w.zoomMenu()->actions()) texts << a->text();
        QCOMPARE(texts, QStringList({"缩放—全屏", "缩放—页宽", "缩放—100%（实际打印效果）", "缩放—50%"}));
        QVERIFY(w.zoomMenu()->geometry().top() >= zoom->mapToGlobal(QPoint(0, zoom->height())).y() - 1);

        const double actual = w.pixelsPerMm();
        w.zoomMenu()->actions()[3]->trigger();
        QCOMPARE(w.zoom(), TFdyPreview1::Zoom::Half);
        QCOMPARE(w.pixelsPerMm(), actual / 2);
        // Whole page fits the area; page width fills its width without a sideways scroll.
        auto *area = w.findChild<QScrollArea *>("PageArea");
        w.zoomMenu()->actions()[0]->trigger();
        QVERIFY(w.pixelsPerMm() * 297 <= area->maximumViewportSize().height());
        w.zoomMenu()->actions()[1]->trigger();
        QApplication::processEvents();
        QVERIFY(area->widget()->width() <= area->viewport()->width());
        QVERIFY(w.pixelsPerMm() * 210 > area->viewport()->width() * 0.8);
        w.zoomMenu()->hide();
    }

    void contextMenuAndEscape()
    {
        TFdyPreview1 w(PrintLayouts::get("TFdyyg1"), rows(3));
        w.setWindowState(Qt::WindowNoState);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *area = w.findChild<QScrollArea *>("PageArea");
        QStringList texts;
        for (QAction *a : area->widget()->actions()) texts << a->text();
        QCOMPARE(texts, QStringList({"打印", "设置", "关闭"}));
        QCOMPARE(area->widget()->contextMenuPolicy(), Qt::ActionsContextMenu);
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    void withoutPrinterSetupAndPrintSaySo()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        ScriptedPrompter prompter;
        TFdyPreview1 w(PrintLayouts::get("TFdyyg1"), rows(3));
        QTest::mouseClick(button(w, "SB6"), Qt::LeftButton);
        QCOMPARE(prompter.lastKind(), QStringLiteral("warn"));
        QCOMPARE(prompter.last(), QStringLiteral("找不到打印机，请安装打印机！"));
        prompter.clear();
        QTest::mouseClick(button(w, "SB7"), Qt::LeftButton);
        QCOMPARE(prompter.texts(), QStringList({"找不到打印机，请安装打印机！"}));
    }

    void savesAllPagesAsPdf()
    {
        ScriptedPrompter prompter;
        TFdyPreview1 w(PrintLayouts::get("TFdyyg1"), rows(100));
        QTemporaryDir dir;
        // Saving before the pages are built still writes every page.
        QVERIFY(w.savePdf(dir.filePath("a.pdf")));
        QVERIFY(w.isBuilt());
        QFile f(dir.filePath("a.pdf"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        QVERIFY(prompter.messages().isEmpty());

        QVERIFY(!w.savePdf("/nonexistent-dir/a.pdf"));
        QCOMPARE(prompter.lastKind(), QStringLiteral("warn"));
        QVERIFY(prompter.last().startsWith(QStringLiteral("PDF文件保存失败！")));
    }
};

MARVODA_TEST(TestPreview)
#include "tst_preview.moc"
