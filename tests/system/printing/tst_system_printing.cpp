#include "app/text/amount_to_capitals.h"
#include "app/text/decimal.h"
#include "documents/document_kind.h"
#include "documents/document_print.h"
#include "print/print_layouts.h"
#include "print/ui/tfdypreview1.h"
#include "test_main.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QToolButton>

// QVERIFY for a helper that returns a value.
#define QVERIFY_RET(c) do { if (!(c)) { QTest::qFail(#c, __FILE__, __LINE__); return {}; } } while (0)

namespace {

Decimal dec(const QString &t) { return *Decimal::parse(t); }

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Page sizes in millimetres of every page of a PDF, from pdfinfo's points.
QList<QSizeF> pageSizesMm(const QString &pdf)
{
    const QString info = run("pdfinfo", {"-f", "1", "-l", "999", pdf});
    static const QRegularExpression size(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    QList<QSizeF> out;
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        out << QSizeF(m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72);
    }
    return out;
}

} // namespace

// "打印" in the preview sends the pages to the system's default printer: a CUPS server of the
// test's own with cups-pdf as that printer, whose PDFs are read back with poppler's tools.
class TestSystemPrinting : public QObject {
    Q_OBJECT
    QString printedDir_ = qEnvironmentVariable("MARVODA_PRINTED_DIR");
    QSet<QString> before_;
    QString job_;   // the document of the last job, as the printer received it

    // The text of the last job. The PDF printer's own file went through PostScript, which keeps
    // the pages but not their text, so the text is read from the job file the server kept.
    // The CJK fonts map some ideographs to their Kangxi radical look-alikes (行 as U+2F8F) in the
    // PDF's text map; compatibility normalisation brings them back.
    QString jobText() const
    {
        return run("pdftotext", {"-layout", job_, "-"}).normalized(QString::NormalizationForm_KC).remove(u' ');
    }

    QSet<QString> printedFiles() const
    {
        const QStringList names = QDir(printedDir_).entryList({"*.pdf"}, QDir::Files);
        return QSet<QString>(names.begin(), names.end());
    }

    // Clicks "打印" in the preview of `data` and returns the PDF the printer made.
    QString printThroughPreview(const QString &layout, const ReportData &data)
    {
        TFdyPreview1 preview(PrintLayouts::get(layout), data);
        preview.show();
        QVERIFY_RET(QTest::qWaitForWindowExposed(&preview));
        auto *print = preview.findChild<QToolButton *>("SB7");
        QVERIFY_RET(print);
        before_ = printedFiles();
        QTest::mouseClick(print, Qt::LeftButton);
        QElapsedTimer t;
        t.start();
        QSet<QString> fresh;
        // cups-pdf writes the file under a temporary name first; wait until its size settles.
        while (t.elapsed() < 90000) {
            QTest::qWait(300);
            fresh = printedFiles() - before_;
            if (!fresh.isEmpty()) {
                const QString path = QDir(printedDir_).filePath(*fresh.begin());
                const qint64 size = QFileInfo(path).size();
                QTest::qWait(700);
                if (size > 0 && QFileInfo(path).size() == size && !pageSizesMm(path).isEmpty()) {
                    QDir spool(qEnvironmentVariable("MARVODA_SPOOL_DIR"));
                    const QStringList jobs = spool.entryList({"d*"}, QDir::Files, QDir::Time);
                    QVERIFY_RET(!jobs.isEmpty());
                    job_ = spool.filePath(jobs.first());
                    return path;
                }
            }
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("CUPS_SERVER"), "run me through tools/system-tests/with-cups.sh");
        QCOMPARE(QPrinterInfo::defaultPrinterName(), QString("MarvodaPDF"));
    }

    void documentOnTheContinuousForm()
    {
        const DocumentKind &kind = documentKind(DocType::Wholesale);
        DocumentHeader h;
        h.dh = "PF20250520007";
        h.rq = "2025-05-20";
        h.jsr = "张三";
        h.setField("kh", "城东装饰公司");
        QList<DocumentLine> lines;
        Decimal total;
        // More lines than one 93 mm page holds, so the document continues on a second page.
        for (int i = 1; i <= 14; ++i) {
            DocumentLine l;
            l.txm = QStringLiteral("SN%1").arg(i, 2, 10, QChar('0'));
            l.ppgg = QStringLiteral("水泥P.O42.5第%1批").arg(i);
            l.dw = "包";
            l.sl = dec("10");
            l.jg = dec("32.5");
            l.recompute(true);
            total += l.je;
            lines << l;
        }
        h.hjje = total;
        h.payable = total;
        h.paid = dec("4000");
        const ReportData data = DocumentPrint::reportData(kind, "宏远建材商行", h, lines, "系统管理员");
        const QString pdf = printThroughPreview(DocumentPrint::layoutName(kind, false), data);
        QVERIFY2(!pdf.isEmpty(), "the printer made no PDF");
        const QList<QSizeF> pages = pageSizesMm(pdf);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        for (const QSizeF &s : pages) {
            QVERIFY2(qAbs(s.width() - 241) < 1 && qAbs(s.height() - 93) < 1,
                     qPrintable(QStringLiteral("%1 x %2 mm").arg(s.width()).arg(s.height())));
        }
        QCOMPARE(pageSizesMm(job_).size(), pages.size());
        const QString text = jobText();
        for (const char *expected : {"宏远建材商行销售单", "PF20250520007", "城东装饰公司", "水泥P.O42.5第1批", "水泥P.O42.5第14批"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY2(text.contains(AmountToCapitals(total)), qPrintable(AmountToCapitals(total) + "\n" + text));
        QFile::remove(pdf);
    }

    void listOnA4()
    {
        ReportData data;
        data.title = "宏远建材商行员工资料";
        for (int i = 1; i <= 3; ++i)
            data.rows.append({{"xm", QStringLiteral("员工%1").arg(i)}, {"xb", "女"}, {"dh", "138 0000 000" + QString::number(i)}});
        const QString pdf = printThroughPreview("TFdyyg1", data);
        QVERIFY2(!pdf.isEmpty(), "the printer made no PDF");
        const QList<QSizeF> pages = pageSizesMm(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(qAbs(pages[0].width() - 210) < 1 && qAbs(pages[0].height() - 297) < 1,
                 qPrintable(QStringLiteral("%1 x %2 mm").arg(pages[0].width()).arg(pages[0].height())));
        const QString text = jobText();
        for (const char *expected : {"宏远建材商行员工资料", "员工1", "员工3", "13800000003"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QFile::remove(pdf);
    }
};

MARVODA_TEST(TestSystemPrinting)
#include "tst_system_printing.moc"
