// Writes sample prints to a folder, to look at what the layouts produce:
//   marvoda-print-sample OUTDIR  ->  list.pdf, document.pdf, document2.pdf, statistics.pdf, goods.pdf
//   and preview*.png (pictures of the preview window);
//   marvoda-print-sample --show LAYOUT  opens the preview of that layout with sample rows
#include "print/pagination.h"
#include "print/print_layouts.h"
#include "app/ui/chinese_fonts.h"
#include "print/ui/page_renderer.h"
#include "print/ui/print_fonts.h"
#include "print/ui/print_preview.h"
#include "print/ui/tfdypreview1.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QPixmap>

#include <cstdio>

namespace {

ReportData sampleList(int rows)
{
    ReportData d;
    d.title = QStringLiteral("宏达建材商行采购单据汇总表");
    for (int i = 0; i < rows; ++i)
        d.rows.append({{"rq", QDate(2024, 3, 1).addDays(i / 4).toString("yyyy-MM-dd")},
                       {"dh", QStringLiteral("CG20240301%1").arg(i + 1, 3, 10, QChar('0'))},
                       {"ghs", i % 7 == 3 ? QStringLiteral("佛山市南海区大沥镇某某某某某某铝材有限责任公司")
                                          : QStringLiteral("上海钢管厂")},
                       {"hjsl", QString::number(10 + i)},
                       {"hjje", QStringLiteral("%1.50").arg(1000 + 37 * i)},
                       {"qk", i % 3 ? QStringLiteral("0") : QStringLiteral("-120.5")}});
    d.total("hjsl", "2190").total("hjje", "123456.5").total("qk", "-2410");
    return d;
}

ReportData sampleDocument(int lines)
{
    ReportData d;
    d.title = QStringLiteral("宏达建材商行销售单");
    for (int i = 0; i < lines; ++i)
        d.rows.append({{"ppgg", QStringLiteral("镀锌钢管 DN%1").arg(15 + 5 * i)},
                       {"dw", QStringLiteral("根")},
                       {"sl", QString::number(i + 1)},
                       {"jg", QStringLiteral("12.50")},
                       {"zk", QStringLiteral("100")},
                       {"je", QStringLiteral("%1.50").arg(12 * (i + 1))}});
    d.text("kh", QStringLiteral("王师傅装修队")).text("bz", QStringLiteral("送货上门"))
        .text("dh", QStringLiteral("XS20240305001")).text("rq", QStringLiteral("2024-03-05"))
        .text("dx", QStringLiteral("(大写)壹仟零伍拾元伍角")).text("jsr", QStringLiteral("张三"))
        .text("zhidan", QStringLiteral("系统管理员")).text("yhe", QStringLiteral("￥0.5"))
        .text("sse", QStringLiteral("￥1000")).text("qkbq", QStringLiteral("欠款:"))
        .text("qkdx", QStringLiteral("(大写)伍拾元")).text("bz3", QStringLiteral("地址：建材市场A区12号"))
        .text("bz4", QStringLiteral("电话：0757-12345678"));
    d.total("sl", "105").total("je", QStringLiteral("￥1050.5"));
    return d;
}

ReportData sampleStatistics()
{
    ReportData d;
    d.title = QStringLiteral("宏达建材商行进销存财综合统计表");
    d.text("period", QStringLiteral("统计日期：2024-02-05至2024-03-05"));
    for (const char *f : {"cgsl", "cgje", "xssl", "xsje", "rksl", "rkje", "kcsl", "kcje", "yf", "sf", "qk1",
                          "ys", "ss", "qk2", "fk", "sk", "sz"})
        d.text(f, QStringLiteral("1234.5"));
    d.printDate = QDate(2024, 3, 5);
    return d;
}

ReportData sampleGoods()
{
    ReportData d;
    d.title = QStringLiteral("宏达建材商行商品进销存统计表");
    for (int i = 0; i < 30; ++i)
        d.rows.append({{"ppgg", QStringLiteral("水泥 P.O42.5 %1").arg(i)}, {"dw", QStringLiteral("包")},
                       {"cgsl", "100"}, {"cgje", "2500"}, {"xssl", "80"}, {"xsje", "2400"},
                       {"rksl", "-2"}, {"rkje", "-50"}, {"ysl", "18"}, {"yje", "50"}});
    d.total("ysl", "540").total("yje", "1500");
    return d;
}

bool write(const QString &path, const QString &layout, const ReportData &d)
{
    QString error;
    const bool ok = PageRenderer::writePdf(path, paginate(PrintLayouts::get(layout), d), &error);
    std::printf("%s %s %s\n", ok ? "wrote" : "FAILED", qPrintable(path), qPrintable(error));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installChineseFonts();
    PrintLayouts::createAll();
    // --show LAYOUT: the preview as a print opens it, modal and maximised, for a screenshot.
    if (argc > 2 && QByteArray(argv[1]) == "--show") {
        const QString name = QString::fromLatin1(argv[2]);
        const PrintLayout &l = PrintLayouts::get(name);
        const ReportData d = l.kind == PrintLayout::Kind::Document ? sampleDocument(14)
                             : l.kind == PrintLayout::Kind::CombinedStatistics ? sampleStatistics()
                                                                                : sampleList(100);
        previewReport(name, d);
        return 0;
    }
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok = write(out.filePath("list.pdf"), "TFdycggl1", sampleList(100));
    ok &= write(out.filePath("document.pdf"), "TFdyxsd1", sampleDocument(14));
    ok &= write(out.filePath("document2.pdf"), "TFdydbd1", sampleDocument(3));
    ok &= write(out.filePath("statistics.pdf"), "TFdysztj1", sampleStatistics());
    ok &= write(out.filePath("goods.pdf"), "TFdykctj1", sampleGoods());

    // The preview as the operator sees it: a list fitted to the width, a document whole.
    const struct {
        const char *file, *layout;
        ReportData data;
        TFdyPreview1::Zoom zoom;
        int page;
    } shots[] = {
        {"preview.png", "TFdycggl1", sampleList(100), TFdyPreview1::Zoom::PageWidth, 1},
        {"preview-document.png", "TFdyxsd1", sampleDocument(14), TFdyPreview1::Zoom::WholePage, 2},
        {"preview-actual.png", "TFdysztj1", sampleStatistics(), TFdyPreview1::Zoom::Actual, 1},
    };
    for (const auto &shot : shots) {
        TFdyPreview1 preview(PrintLayouts::get(QString::fromLatin1(shot.layout)), shot.data);
        preview.setWindowState(Qt::WindowNoState);
        preview.resize(1000, 700);
        preview.show();
        preview.buildAll();
        preview.lastPage();
        if (shot.page == 1) preview.firstPage();
        preview.setZoom(shot.zoom);
        QApplication::processEvents();
        ok &= preview.grab().save(out.filePath(QString::fromLatin1(shot.file)));
    }
    return ok ? 0 : 1;
}
