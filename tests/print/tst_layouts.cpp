#include "print/print_layouts.h"
#include "test_main.h"

#include <QTest>

#include <stdexcept>

class TestPrintLayouts : public QObject {
    Q_OBJECT
private slots:
    void registryHoldsTheLayoutsInStartUpOrder()
    {
        PrintLayouts::createAll();
        PrintLayouts::createAll();
        const QStringList expected = {
            "TFdysp1",   "TFdyghs1",  "TFdycggl1", "TFdycgd1",  "TFdycgfx1", "TFdycghz1", "TFdyxsd1", "TFdyxstj3",
            "TFdyrkd1",  "TFdykcfx1", "TFdykcfx2", "TFdykctj1", "TFdyyffx1", "TFdyfkfx1", "TFdyszfx1", "TFdysztj1",
            "TFdyrkgl1", "TFdyyg1",   "TFdydbd1",  "TFdydbgl1", "TFdyxsd2",  "TFdycgd2"};
        QCOMPARE(PrintLayouts::names(), expected);
        for (const auto &n : expected) QCOMPARE(PrintLayouts::get(n).name, n);
        QVERIFY(PrintLayouts::find("TFdyxyz9") == nullptr);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, PrintLayouts::get("TFdyxyz9"));
        // Handed out by reference, so every print uses the one created at start-up.
        QCOMPARE(&PrintLayouts::get("TFdysp1"), PrintLayouts::find("TFdysp1"));
    }

    void captionsSummaryAndPaper_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("summary");   // the list's total label; "doc" for documents
        const QString T = "总计";
        const QStringList doc1 = {"商品名称", "单位", "数  量", "单  价", "折扣", "金  额"};
        const QStringList doc2 = {"编码", "商品名称", "单位", "数  量", "单  价", "金  额"};
        QTest::newRow("TFdyfkfx1") << "TFdyfkfx1" << QStringList{"日期", "单号", "厂商", "付款金额", "经办人"} << T;
        QTest::newRow("TFdyszfx1") << "TFdyszfx1" << QStringList{"日期", "类别", "项目", "收入额", "支出额", "经办人"} << T;
        QTest::newRow("TFdyyffx1") << "TFdyyffx1" << QStringList{"日期", "单号", "厂商", "应付额", "实付额", "欠款"} << T;
        QTest::newRow("TFdycgfx1") << "TFdycgfx1" << QStringList{"日期", "编码", "商品名称", "单位", "数量", "单价", "金额"} << T;
        QTest::newRow("TFdycghz1") << "TFdycghz1" << QStringList{"编码", "商品名称", "单位", "数量", "金额"} << T;
        QTest::newRow("TFdyxstj3") << "TFdyxstj3" << QStringList{"员工", "销售提成额", "金额提成额", "总提成额"} << T;
        QTest::newRow("TFdycggl1") << "TFdycggl1" << QStringList{"日期", "单号", "厂商", "合计数量", "合计金额", "欠款"} << T;
        QTest::newRow("TFdydbgl1") << "TFdydbgl1" << QStringList{"日期", "单号", "调出仓库", "调入仓库", "合计数量", "合计金额"} << T;
        QTest::newRow("TFdyrkgl1") << "TFdyrkgl1" << QStringList{"日期", "单号", "异动原因", "合计数量", "合计金额", "经办人"} << T;
        QTest::newRow("TFdysp1") << "TFdysp1" << QStringList{"类别", "编码", "商品名称", "单位", "批发单价", "零售单价"} << "";
        QTest::newRow("TFdyghs1") << "TFdyghs1" << QStringList{"名称", "联系人", "电话", "地址"} << "";
        QTest::newRow("TFdyyg1") << "TFdyyg1" << QStringList{"姓名", "性别", "电话", "住址"} << "";
        QTest::newRow("TFdykcfx1") << "TFdykcfx1" << QStringList{"编码", "商品名称", "单位", "库存数量", "库存单价", "库存金额"} << T;
        QTest::newRow("TFdykcfx2") << "TFdykcfx2" << QStringList{"编码", "商品名称", "单位", "库存数量", "批发单价", "零售单价"} << T;
        QTest::newRow("TFdykctj1") << "TFdykctj1"
                                   << QStringList{"商品名称", "单位", "采购数量", "采购金额", "销售数量", "销售金额",
                                                  "变动数量", "变动金额", "结存数量", "结存金额"}
                                   << "总　　计";
        QTest::newRow("TFdysztj1") << "TFdysztj1" << QStringList{} << "";
        QTest::newRow("TFdycgd1") << "TFdycgd1" << doc1 << "doc";
        QTest::newRow("TFdycgd2") << "TFdycgd2" << doc2 << "doc";
        QTest::newRow("TFdyxsd1") << "TFdyxsd1" << doc1 << "doc";
        QTest::newRow("TFdyxsd2") << "TFdyxsd2" << doc2 << "doc";
        QTest::newRow("TFdydbd1") << "TFdydbd1" << doc2 << "doc";
        QTest::newRow("TFdyrkd1") << "TFdyrkd1" << doc2 << "doc";
    }
    void captionsSummaryAndPaper()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, captions);
        QFETCH(QString, summary);
        const PrintLayout &l = PrintLayouts::get(name);

        QStringList got;
        for (const auto &c : l.columns) got << c.caption;
        QCOMPARE(got, captions);

        const PageSetup &p = l.page;
        if (summary == "doc") {
            QCOMPARE(l.kind, PrintLayout::Kind::Document);
            QCOMPARE(p.pageWidthMm(), 241.0);
            QCOMPARE(p.pageHeightMm(), 93.0);
            QCOMPARE(QList<double>({p.leftMm, p.rightMm, p.topMm, p.bottomMm}), QList<double>({10, 40, 0, 10}));
            QVERIFY(l.pageFooter.isEmpty());
        } else {
            QCOMPARE(p.paperWidthMm, 210.0);
            QCOMPARE(p.paperHeightMm, 297.0);
            QCOMPARE(p.landscape, name == "TFdykctj1");
            QCOMPARE(QList<double>({p.leftMm, p.rightMm, p.topMm, p.bottomMm}), QList<double>({10, 10, 10, 10}));
            // The list's total label heads its summary; lists without totals have none.
            QCOMPARE(l.summary.isEmpty(), summary.isEmpty());
            if (!summary.isEmpty()) QCOMPARE(l.summary[0].items[0].text, summary);
        }
        // The columns fit between the margins.
        QVERIFY(l.columnsWidthMm() <= p.printableWidthMm() + 1e-6);

        // Dates, numbers and units centred; quantities, prices and amounts right; other texts left.
        const QStringList centred = {"日期", "单号", "单位"};
        const QStringList right = {"数量", "单价", "金额", "额", "欠款", "折扣", "数  量", "单  价", "金  额"};
        for (const auto &c : l.columns) {
            PrintAlign want = PrintAlign::Left;
            if (centred.contains(c.caption)) want = PrintAlign::Center;
            for (const auto &r : right)
                if (c.caption.endsWith(r)) want = PrintAlign::Right;
            QVERIFY2(c.align == want, qPrintable(c.caption));
        }

        // The title in bold SimHei at 19 px, the page number at 12 px, every other text SimSun 13 px.
        QList<const PrintBand *> bands = {&l.pageHeader, &l.title, &l.columnHeader, &l.detail, &l.pageFooter};
        for (const auto &b : l.summary) bands << &b;
        int titles = 0;
        for (const PrintBand *b : bands)
            for (const auto &item : b->items) {
                if (item.source == PrintItem::Source::Title) {
                    ++titles;
                    QCOMPARE(item.font, PrintFont::title());
                } else if (item.source == PrintItem::Source::PageNumber) {
                    QCOMPARE(item.font, PrintFont::pageNumber());
                    QCOMPARE(item.text, QStringLiteral("（"));
                } else {
                    QCOMPARE(item.font, PrintFont::text());
                }
            }
        QCOMPARE(titles, 1);
        QCOMPARE(PrintFont::title().family, QStringLiteral("SimHei"));
        QCOMPARE(PrintFont::title().pixels, 19.0);
        QVERIFY(PrintFont::title().bold);
    }
};

MARVODA_TEST(TestPrintLayouts)
#include "tst_layouts.moc"
