#include "print/pagination.h"
#include "print/print_layouts.h"
#include "print_test_helpers.h"
#include "test_main.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTest>

namespace {

const QString ListTitle = QStringLiteral("宏达建材采购单据汇总表");

ReportData purchaseList(int rows)
{
    ReportData d;
    d.title = ListTitle;
    for (int i = 0; i < rows; ++i)
        d.rows.append({{"rq", "2024-03-05"}, {"dh", QStringLiteral("CG%1").arg(i, 11, 10, QChar('0'))},
                       {"ghs", QStringLiteral("上海钢管厂")}, {"hjsl", "1"}, {"hjje", "10.5"}, {"qk", "0"}});
    d.total("hjsl", "T-qty").total("hjje", "T-amount").total("qk", "T-owed");
    return d;
}

// Every text and rule lies inside the margins of its paper.
void verifyInsideMargins(const PrintedReport &r)
{
    const PageSetup &s = r.page;
    const double eps = 1e-6;
    for (const auto &p : r.pages) {
        for (const auto &t : p.texts) {
            QVERIFY2(t.rect.top() >= s.topMm - eps && t.rect.bottom() <= s.printableBottomMm() + eps,
                     qPrintable(QStringLiteral("page %1: %2 outside").arg(p.number).arg(t.text)));
            QVERIFY(t.rect.left() >= s.leftMm - eps && t.rect.right() <= s.pageWidthMm() - s.rightMm + eps);
        }
        for (const auto &l : p.rules) {
            QVERIFY(std::min(l.y1(), l.y2()) >= s.topMm - eps && std::max(l.y1(), l.y2()) <= s.printableBottomMm() + eps);
            QVERIFY(std::max(l.x1(), l.x2()) <= s.pageWidthMm() - s.rightMm + eps);
        }
    }
}

// The values of one field in the order they are printed, page after page, top to bottom.
QStringList printedColumn(const PrintedReport &r, const QString &prefix)
{
    QStringList out;
    for (const auto &p : r.pages) {
        QList<const PageText *> hits;
        for (const auto &t : p.texts)
            if (t.text.startsWith(prefix)) hits << &t;
        std::stable_sort(hits.begin(), hits.end(),
                         [](const PageText *a, const PageText *b) { return a->rect.top() < b->rect.top(); });
        for (const auto *t : hits) out << t->text;
    }
    return out;
}

} // namespace

class TestPagination : public QObject {
    Q_OBJECT
private slots:
    void emptyListPrintsTitleHeaderAndTotals()
    {
        const auto &layout = PrintLayouts::get("TFdycggl1");
        ReportData d = purchaseList(0);
        d.totals = {{"hjsl", "0"}, {"hjje", "0"}, {"qk", "0"}};
        const PrintedReport r = paginate(layout, d);
        QCOMPARE(r.pages.size(), 1);
        const QStringList texts = textsOf(r.pages[0]);
        QVERIFY(texts.contains(ListTitle));
        for (const auto &c : layout.columns) QVERIFY2(texts.contains(c.caption), qPrintable(c.caption));
        QVERIFY(texts.contains("总计"));
        QCOMPARE(texts.count("0"), 3);
        QVERIFY(texts.contains("（1"));
        // The summary sits under the column header, framed like a row.
        QVERIFY(findText(r.pages[0], "总计")->rect.top() >= findText(r.pages[0], "日期")->rect.bottom() - 1e-6);
    }

    void longListRepeatsHeadersAndTotalsOnce_data()
    {
        QTest::addColumn<int>("rows");
        for (int n : {1, 2, 40, 41, 42, 43, 81, 82, 83, 84, 250}) QTest::addRow("%d rows", n) << n;
    }
    void longListRepeatsHeadersAndTotalsOnce()
    {
        QFETCH(int, rows);
        const auto &layout = PrintLayouts::get("TFdycggl1");
        const PrintedReport r = paginate(layout, purchaseList(rows));
        QVERIFY(!r.pages.isEmpty());
        for (int i = 0; i < r.pages.size(); ++i) {
            const QStringList texts = textsOf(r.pages[i]);
            QCOMPARE(r.pages[i].number, i + 1);
            QCOMPARE(texts.count(ListTitle), 1);
            for (const auto &c : layout.columns) QCOMPARE(texts.count(c.caption), 1);
            QCOMPARE(texts.count(QStringLiteral("（%1").arg(i + 1)), 1);
        }
        // The totals once, on the last page, below its last row.
        QCOMPARE(countOf(r, "总计"), 1);
        QCOMPARE(countOf(r, "T-amount"), 1);
        const PrintedPage &last = r.pages.last();
        const PageText *sum = findText(last, "总计");
        QVERIFY(sum);
        for (const auto &t : last.texts)
            if (t.text.startsWith("CG")) QVERIFY(t.rect.bottom() <= sum->rect.top() + 1e-6);

        // Every row once, in order.
        QStringList expected;
        for (int i = 0; i < rows; ++i) expected << QStringLiteral("CG%1").arg(i, 11, 10, QChar('0'));
        QCOMPARE(printedColumn(r, "CG"), expected);

        // No page is left short while rows remain: a page breaks only when the next row does
        // not fit above the page number.
        const double limit = layout.page.printableBottomMm() - layout.pageFooter.heightMm;
        for (int i = 0; i + 1 < r.pages.size(); ++i) {
            const QStringList onPage = printedColumn(PrintedReport{{}, layout.page, {r.pages[i]}}, "CG");
            if (onPage.isEmpty()) QFAIL("a page without rows before the last one");
            const double bottom = findText(r.pages[i], onPage.last())->rect.bottom();
            QVERIFY(bottom + layout.detail.heightMm > limit - 1e-6 ||
                    (i + 2 == r.pages.size() && onPage.last() == expected.last()));
        }
        verifyInsideMargins(r);
    }

    void documentContinuesWithTitleAndSignaturesOnce_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("lines");
        for (int n : {1, 5, 6, 10, 11, 30}) {
            QTest::addRow("sales %d", n) << "TFdyxsd1" << n;
            QTest::addRow("purchase with codes %d", n) << "TFdycgd2" << n;
        }
    }
    void documentContinuesWithTitleAndSignaturesOnce()
    {
        QFETCH(QString, layout);
        QFETCH(int, lines);
        const PrintLayout &l = PrintLayouts::get(layout);
        ReportData d;
        d.title = QStringLiteral("宏达建材单据");
        for (int i = 0; i < lines; ++i)
            d.rows.append({{"txm", "6901"}, {"ppgg", QStringLiteral("L%1").arg(i, 3, 10, QChar('0'))},
                           {"dw", QStringLiteral("根")}, {"sl", "1"}, {"jg", "2"}, {"zk", "100"}, {"je", "2"}});
        d.text("dh", "XS20240305001").text("rq", "2024-03-05").text("kh", QStringLiteral("王师傅"))
            .text("ghs", QStringLiteral("钢厂")).text("jsr", QStringLiteral("张三"))
            .text("zhidan", QStringLiteral("系统管理员")).text("dx", QStringLiteral("(大写)贰元"))
            .text("bz3", QStringLiteral("脚注一"));
        d.total("sl", QString::number(lines)).total("je", QStringLiteral("￥2"));
        const PrintedReport r = paginate(l, d);

        QCOMPARE(r.page.pageWidthMm(), 241.0);
        QCOMPARE(r.page.pageHeightMm(), 93.0);
        if (lines > 10) QVERIFY(r.pages.size() > 1);
        QCOMPARE(countOf(r, d.title), 1);
        QVERIFY(textsOf(r.pages[0]).contains(d.title));
        QCOMPARE(countOf(r, "单号:XS20240305001"), 1);
        QCOMPARE(countOf(r, "经办:张三"), 1);
        QCOMPARE(countOf(r, "制单:系统管理员"), 1);
        QCOMPARE(countOf(r, "合计:(大写)贰元"), 1);
        QVERIFY(textsOf(r.pages.last()).contains("经办:张三"));
        QCOMPARE(countOf(r, "脚注一"), layout == "TFdyxsd1" ? 1 : 0);   // sales only
        for (const auto &p : r.pages) {
            for (const auto &c : l.columns) QCOMPARE(textsOf(p).count(c.caption), 1);
            for (const auto &t : p.texts) QVERIFY(!t.text.startsWith("（"));   // no page number
        }
        QStringList expected;
        for (int i = 0; i < lines; ++i) expected << QStringLiteral("L%1").arg(i, 3, 10, QChar('0'));
        QCOMPARE(printedColumn(r, "L"), expected);
        verifyInsideMargins(r);
    }

    // A window sharing a layout binds its own fields and captions; totals follow the binding.
    void boundFieldsCaptionsAndTotals()
    {
        const auto &layout = PrintLayouts::get("TFdycggl1");
        ReportData d;
        d.title = "T";
        d.bind({"rq", "dh", "kh", "hjsl", "hjje", "qk"}).caption(2, QStringLiteral("客户"));
        d.rows.append({{"kh", QStringLiteral("王师傅")}, {"ghs", QStringLiteral("不该出现")}, {"hjje", "9.5"}});
        d.total("hjje", "9.5");
        const PrintedReport r = paginate(layout, d);
        const QStringList texts = textsOf(r.pages[0]);
        QVERIFY(texts.contains(QStringLiteral("客户")));
        QVERIFY(!texts.contains(QStringLiteral("厂商")));
        QVERIFY(texts.contains(QStringLiteral("王师傅")));
        QVERIFY(!texts.contains(QStringLiteral("不该出现")));
        QCOMPARE(texts.count("9.5"), 2);

        // Both the amount and its total sit in the amount column, right-aligned.
        const double left = layout.page.leftMm + layout.columnLeftMm(4);
        const double right = left + layout.columns[4].widthMm;
        for (const auto &t : r.pages[0].texts) {
            if (t.text != "9.5") continue;
            QCOMPARE(t.align, PrintAlign::Right);
            QVERIFY(t.rect.left() >= left && t.rect.right() <= right);
        }
    }

    // No text is measured: a long name keeps its cell, and the next column's text its own.
    void longTextKeepsItsCell()
    {
        const auto &layout = PrintLayouts::get("TFdyghs1");
        ReportData d;
        d.rows.append({{"mc", QString(200, QChar(0x5382))}, {"lxr", QStringLiteral("李")}});
        const PrintedReport r = paginate(layout, d);
        const PageText *name = findText(r.pages[0], QString(200, QChar(0x5382)));
        const PageText *contact = findText(r.pages[0], QStringLiteral("李"));
        QVERIFY(name && contact);
        QVERIFY(name->rect.right() <= contact->rect.left());
        QCOMPARE(name->rect.height(), layout.detail.heightMm);
    }

    void combinedStatisticsPrintsFiguresAndPrintDate()
    {
        ReportData d;
        d.title = QStringLiteral("宏达进销存财综合统计表");
        d.text("period", QStringLiteral("统计日期：2024-02-05至2024-03-05")).text("cgsl", "-3").text("sz", "12.5");
        d.printDate = QDate(2024, 3, 5);
        const PrintedReport r = paginate(PrintLayouts::get("TFdysztj1"), d);
        QCOMPARE(r.pages.size(), 1);
        const QStringList texts = textsOf(r.pages[0]);
        QVERIFY(texts.contains(d.title));
        QVERIFY(texts.contains(QStringLiteral("统计日期：2024-02-05至2024-03-05")));
        QVERIFY(texts.contains(QStringLiteral("采购数量：-3")));
        QVERIFY(texts.contains(QStringLiteral("其他收支：12.5")));
        QVERIFY(texts.contains(QStringLiteral("销售欠款：")));   // a figure not given prints its label
        const PageText *date = findText(r.pages[0], QStringLiteral("打印日期：2024-03-05"));
        QVERIFY(date);
        QCOMPARE(date->align, PrintAlign::Right);
        for (const auto &t : r.pages[0].texts) QVERIFY(date->rect.top() >= t.rect.top());   // at the bottom

        d.printDate = {};
        const PrintedReport today = paginate(PrintLayouts::get("TFdysztj1"), d);
        QVERIFY(textsOf(today.pages[0]).contains(
            QStringLiteral("打印日期：") + QDate::currentDate().toString("yyyy-MM-dd")));
    }

    // A grid's query model holds only its first rows until asked; a print takes them all.
    void rowsFromAGridModelIncludeUnfetchedRows()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "print_rows");
        {
            db.setDatabaseName(":memory:");
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("create table sp (txm text, ppgg text)"));
            QVERIFY(db.transaction());
            for (int i = 0; i < 600; ++i)
                QVERIFY(q.exec(QStringLiteral("insert into sp values ('%1', '钢管%1')").arg(i)));
            QVERIFY(db.commit());
            QSqlQueryModel model;
            model.setQuery("select txm, ppgg from sp order by rowid", db);
            QVERIFY(model.rowCount() < 600);
            ReportData d;
            d.appendRows(model, {{"txm", 0}, {"ppgg", 1}});
            QCOMPARE(d.rows.size(), 600);
            QCOMPARE(d.rows[599].value("ppgg"), QStringLiteral("钢管599"));
            QCOMPARE(d.rows[0].value("txm"), QStringLiteral("0"));
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("print_rows");
    }

    // A preview shows pages while a long list is still being laid out.
    void pagesArriveStepByStep()
    {
        Paginator p(PrintLayouts::get("TFdycggl1"), purchaseList(500));
        QVERIFY(!p.step(100));
        const int early = int(p.pages().size());
        QVERIFY(early >= 1);
        QVERIFY(early < 5);
        while (!p.step(100)) {}
        QCOMPARE(p.rowsDone(), 500);
        QCOMPARE(p.report().pages.size(), paginate(PrintLayouts::get("TFdycggl1"), purchaseList(500)).pages.size());
    }
};

MARVODA_TEST(TestPagination)
#include "tst_pagination.moc"
