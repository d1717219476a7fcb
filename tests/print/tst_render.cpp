#include "print/pagination.h"
#include "print/print_layouts.h"
#include "app/ui/chinese_fonts.h"
#include "print/ui/page_renderer.h"
#include "print/ui/print_fonts.h"
#include "print_test_helpers.h"
#include "test_main.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString pdfText(const QString &path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    if (!p.waitForFinished(20000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString &path)
{
    QProcess p;
    p.start("pdfinfo", {path});
    if (!p.waitForFinished(20000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool inkIn(const QImage &img, QRect r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 160) return true;
    return false;
}

} // namespace

class TestPrintRender : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installChineseFonts(); }

    void layoutFontsResolveToChineseFonts()
    {
        QImage img(10, 10, QImage::Format_RGB32);
        QCOMPARE(QFontInfo(printQFont(PrintFont::text(), 4, img)).family(), QStringLiteral("Noto Serif CJK SC"));
        QCOMPARE(QFontInfo(printQFont(PrintFont::title(), 4, img)).family(), QStringLiteral("Noto Sans CJK SC"));
    }

    void pdfReadsBackTitleCaptionsAndValues_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("pageSize");
        QTest::newRow("goods list") << "TFdysp1"
                                    << QStringList{"宏达建材商品资料表", "类别", "商品名称", "零售单价", "镀锌钢管", "（1"}
                                    << "595 x 842";
        QTest::newRow("sales document") << "TFdyxsd2"
                                        << QStringList{"宏达建材商品资料表", "客户:王师傅", "日期:", "数  量", "金  额", "合计:(大写)贰元",
                                                       "镀锌钢管DN15", "单号:XS20240305001", "经办:张三"}
                                        << "683 x 264";
        QTest::newRow("goods statistics") << "TFdykctj1"
                                          << QStringList{"宏达建材商品资料表", "结存金额", "总　　计"}
                                          << "842 x 595";
    }
    void pdfReadsBackTitleCaptionsAndValues()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is not installed");
        QFETCH(QString, layout);
        QFETCH(QStringList, expected);
        QFETCH(QString, pageSize);
        ReportData d;
        d.title = QStringLiteral("宏达建材商品资料表");
        d.rows.append({{"lb", QStringLiteral("管材")}, {"ppgg", QStringLiteral("镀锌钢管 DN15")}, {"dw", QStringLiteral("根")}});
        d.text("kh", QStringLiteral("王师傅")).text("dh", "XS20240305001").text("dx", QStringLiteral("(大写)贰元")).text("jsr", QStringLiteral("张三"));
        QTemporaryDir dir;
        const QString path = dir.filePath("out.pdf");
        QString error;
        QVERIFY2(PageRenderer::writePdf(path, paginate(PrintLayouts::get(layout), d), &error), qPrintable(error));
        // pdftotext lays spaces out by position, so compare without them.
        const QRegularExpression spaces(QStringLiteral("[ \u3000]"));
        const QString text = pdfText(path);
        const QString packed = QString(text).remove(spaces);
        for (const auto &e : expected)
            QVERIFY2(packed.contains(QString(e).remove(spaces)), qPrintable(e + " missing in:\n" + text));
        if (!QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QVERIFY2(pdfInfo(path).contains("Page size:       " + pageSize), qPrintable(pdfInfo(path)));
    }

    void pdfHasOnePagePerLaidOutPage()
    {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) QSKIP("pdfinfo is not installed");
        ReportData d;
        for (int i = 0; i < 100; ++i) d.rows.append({{"mc", QString::number(i)}});
        const PrintedReport r = paginate(PrintLayouts::get("TFdyghs1"), d);
        QVERIFY(r.pages.size() >= 3);
        QTemporaryDir dir;
        QVERIFY(PageRenderer::writePdf(dir.filePath("p.pdf"), r));
        QVERIFY(pdfInfo(dir.filePath("p.pdf")).contains(QStringLiteral("Pages:           %1\n").arg(r.pages.size())));
    }

    void unwritablePdfIsReported()
    {
        QString error;
        QVERIFY(!PageRenderer::writePdf("/nonexistent-dir/x.pdf", paginate(PrintLayouts::get("TFdysp1"), {}), &error));
        QVERIFY(!error.isEmpty());
    }

    // A name longer than its cell is cut at the cell's rule, leaving the next cell clean.
    void longTextIsClippedToItsCell()
    {
        const PrintLayout &l = PrintLayouts::get("TFdyghs1");
        ReportData d;
        d.rows.append({{"mc", QString(60, QChar(0x94A2))}});   // 60 × 钢, far wider than 55 mm
        const PrintedReport r = paginate(l, d);
        const double s = 6;   // px per mm
        QImage img(int(r.page.pageWidthMm() * s), int(r.page.pageHeightMm() * s), QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            PageRenderer::paint(p, r.pages[0], s);
        }
        const PageText *name = findText(r.pages[0], QString(60, QChar(0x94A2)));
        QVERIFY(name);
        const QRectF cell = name->rect;
        const int top = int(cell.top() * s) + 3, bottom = int(cell.bottom() * s) - 3;
        QVERIFY(inkIn(img, QRect(QPoint(int(cell.left() * s), top), QPoint(int(cell.right() * s), bottom))));
        // The next column, between its rules, holds no ink.
        const double nextLeft = l.page.leftMm + l.columnLeftMm(1), nextRight = l.page.leftMm + l.columnLeftMm(2);
        QVERIFY(!inkIn(img, QRect(QPoint(int(nextLeft * s) + 3, top), QPoint(int(nextRight * s) - 3, bottom))));
    }
};

MARVODA_TEST(TestPrintRender)
#include "tst_render.moc"
