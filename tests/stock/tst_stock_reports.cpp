#include "app/data/ledger_query.h"
#include "ledger_rows.h"
#include "stock/goods_statistics.h"
#include "test_book.h"
#include "test_main.h"

#include <QSqlRecord>
#include <QTest>

using ledger_rows::add;

namespace {

// A small book of the three ledgers, with its figures worked out by hand:
//   SN 水泥 袋: bought 10 (200) on 03-01, returned 2 (−40) on 03-05, sold 3 (90) on 03-03,
//               one bag written off (−1, −20) on 03-02 → balance 4, value 200 − 40 − 90 − 20 = 50;
//   GG 钢管 根: bought 4 (40) on 03-10, moved 5 (50) from 一号库 to 二号库 on 03-04 → balance 4, 40;
//   GG 钢管 米: bought 1 (9) on 03-06 → a second row for the other unit;
//   SA 砂 吨:   found 7 (70) at a stock count on 03-05, nothing bought or sold.
void fillBook(Database &db)
{
    add(db, "cgfx", {{"rq", "2025-03-01"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "10"}, {"je", "200"}, {"ghs", "华新"}, {"jsr", "张三"}, {"ck", "一号库"}});
    add(db, "cgfx", {{"rq", "2025-03-05"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "-2"}, {"je", "-40"}, {"ghs", "华新"}, {"jsr", "李四"}, {"ck", "一号库"}});
    add(db, "xsfx", {{"rq", "2025-03-03"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "3"}, {"je", "90"}, {"kh", "王五"}, {"jsr", "张三"}, {"ck", "一号库"}});
    add(db, "rkfx", {{"rq", "2025-03-02"}, {"txm", "SN"}, {"ppgg", "水泥"}, {"dw", "袋"}, {"sl", "-1"}, {"je", "-20"}, {"lx", "盘亏"}, {"jsr", "张三"}, {"ck", "一号库"}, {"dh", "YD20250302001"}});
    add(db, "cgfx", {{"rq", "2025-03-10"}, {"txm", "GG"}, {"ppgg", "钢管"}, {"dw", "根"}, {"sl", "4"}, {"je", "40"}, {"ghs", "宝钢"}, {"jsr", "张三"}, {"ck", "一号库"}});
    add(db, "rkfx", {{"rq", "2025-03-04"}, {"txm", "GG"}, {"ppgg", "钢管"}, {"dw", "根"}, {"sl", "5"}, {"je", "50"}, {"lx", "库存调出"}, {"jsr", "李四"}, {"ck", "一号库"}, {"dh", "DB20250304001"}});
    add(db, "rkfx", {{"rq", "2025-03-04"}, {"txm", "GG"}, {"ppgg", "钢管"}, {"dw", "根"}, {"sl", "5"}, {"je", "50"}, {"lx", "库存调入"}, {"jsr", "李四"}, {"ck", "二号库"}, {"dh", "DB20250304001"}});
    add(db, "cgfx", {{"rq", "2025-03-06"}, {"txm", "GG"}, {"ppgg", "钢管"}, {"dw", "米"}, {"sl", "1"}, {"je", "9"}, {"ghs", "宝钢"}, {"jsr", "张三"}, {"ck", "一号库"}});
    add(db, "rkfx", {{"rq", "2025-03-05"}, {"txm", "SA"}, {"ppgg", "砂"}, {"dw", "吨"}, {"sl", "7"}, {"je", "70"}, {"lx", "盘盈"}, {"jsr", "张三"}, {"ck", "二号库"}, {"dh", "YD20250305001"}});
}

QString amount(const QSqlQuery &q, const char *field)
{
    return Decimal::fromRaw(q.value(QString::fromLatin1(field)).toLongLong()).toPlain();
}

// "txm dw cgsl/cgje xssl/xsje rksl/rkje = ysl/yje" per result row.
QStringList statisticsRows(RowSource &rows)
{
    auto amount = [&rows](const char *field) {
        return Decimal::fromRaw(rows.value(rows.indexOf(QString::fromLatin1(field))).toLongLong()).toPlain();
    };
    QStringList out;
    while (rows.next())
        out << QStringLiteral("%1 %2 %3/%4 %5/%6 %7/%8 = %9/%10")
                   .arg(rows.value(rows.indexOf("txm")).toString(), rows.value(rows.indexOf("dw")).toString(),
                        amount("cgsl"), amount("cgje"), amount("xssl"), amount("xsje"), amount("rksl"), amount("rkje"),
                        amount("ysl"), amount("yje"));
    return out;
}

// "fenzu txm zsl/zje" per summary row.
QStringList summaryRows(QSqlQuery &&q)
{
    QStringList out;
    while (q.next()) {
        const QString group = q.record().indexOf("fenzu") >= 0 ? q.value("fenzu").toString() + u' ' : QString();
        out << group + QStringLiteral("%1 %2/%3").arg(q.value("txm").toString(), amount(q, "zsl"), amount(q, "zje"));
    }
    return out;
}

QStringList documentNumbers(QSqlQuery &&q)
{
    QStringList out;
    while (q.next()) out << q.value("dh").toString() + u'@' + q.value("ck").toString();
    return out;
}

} // namespace

class TestStockReports : public QObject {
    Q_OBJECT
private slots:
    void goodsStatistics_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dated");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("totals");   // the balance over every row
        // A transfer moves stock between warehouses: it leaves the balance of 钢管 unchanged.
        QTest::newRow("everything") << "" << false
                                    << QStringList{"GG 根 4/40 0/0 0/0 = 4/40", "GG 米 1/9 0/0 0/0 = 1/9",
                                                   "SA 吨 0/0 0/0 7/70 = 7/70", "SN 袋 8/160 3/90 -1/-20 = 4/50"}
                                    << "16/169";
        // 03-03 to 03-05, both days included: the sale, the return and the stock count; the
        // write-off of 03-02 and the purchase of 03-01 fall outside.
        QTest::newRow("period") << "" << true
                                << QStringList{"GG 根 0/0 0/0 0/0 = 0/0", "SA 吨 0/0 0/0 7/70 = 7/70",
                                               "SN 袋 -2/-40 3/90 0/0 = -5/-130"}
                                << "2/-60";
        QTest::newRow("name in period") << "水泥" << true << QStringList{"SN 袋 -2/-40 3/90 0/0 = -5/-130"} << "-5/-130";
        QTest::newRow("code in period, any case") << "sn" << true << QStringList{"SN 袋 -2/-40 3/90 0/0 = -5/-130"} << "-5/-130";
        QTest::newRow("part of a name") << "管" << false << QStringList{"GG 根 4/40 0/0 0/0 = 4/40", "GG 米 1/9 0/0 0/0 = 1/9"} << "5/49";
        QTest::newRow("a quote is a character") << "水'泥" << false << QStringList{} << "0/0";
    }
    void goodsStatistics()
    {
        QFETCH(QString, text);
        QFETCH(bool, dated);
        QFETCH(QStringList, rows);
        QFETCH(QString, totals);
        TestBook book;
        fillBook(book.db());
        const GoodsStatisticsFilter f{text, dated, "2025-03-03", "2025-03-05"};
        QCOMPARE(statisticsRows(*GoodsStatistics::rows(book.db(), f)), rows);
        const GoodsStatisticsTotals t = GoodsStatistics::totals(book.db(), f);
        QCOMPARE(t.ysl.toPlain() + u'/' + t.yje.toPlain(), totals);
    }

    // The ledgers are merged in the order the database sorts them: a goods item each ledger
    // holds must meet itself however its text sorts, also beside characters beyond U+FFFF
    // (which UTF-16 would put before the full-width brackets) and one code a prefix of another.
    void goodsStatisticsMergeEachItemOnce()
    {
        TestBook book;
        const QStringList codes = {"Z（1）", QString::fromUtf8("Z\xf0\xa0\x80\x80"), "Z", "Z1", "a", "B"};
        for (const QString &txm : codes) {
            add(book.db(), "cgfx", {{"rq", "2025-03-01"}, {"txm", txm}, {"ppgg", "砖"}, {"dw", "块"}, {"sl", "3"}, {"je", "3"}});
            add(book.db(), "xsfx", {{"rq", "2025-03-02"}, {"txm", txm}, {"ppgg", "砖"}, {"dw", "块"}, {"sl", "1"}, {"je", "2"}});
            add(book.db(), "rkfx", {{"rq", "2025-03-02"}, {"txm", txm}, {"ppgg", "砖"}, {"dw", "块"}, {"sl", "1"}, {"je", "1"}, {"lx", "盘盈"}});
        }
        // Code point order: B Z Z1 Z（1） Z𠀀 a.
        const QStringList expected = {"B 块 3/3 1/2 1/1 = 3/2", "Z 块 3/3 1/2 1/1 = 3/2", "Z1 块 3/3 1/2 1/1 = 3/2",
                                      "Z（1） 块 3/3 1/2 1/1 = 3/2", codes[1] + " 块 3/3 1/2 1/1 = 3/2",
                                      "a 块 3/3 1/2 1/1 = 3/2"};
        QCOMPARE(statisticsRows(*GoodsStatistics::rows(book.db(), {})), expected);
    }

    void changeSummary_data()
    {
        QTest::addColumn<int>("grouping");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("rows");
        using G = LedgerGrouping;
        QTest::newRow("per goods") << int(G::None) << int(LedgerFilter::All)
                                   << QStringList{"GG 10/100", "SA 7/70", "SN -1/-20"};
        // Both rows of a transfer keep the line's positive quantity under their own reason.
        QTest::newRow("by reason") << int(G::Party) << int(LedgerFilter::All)
                                   << QStringList{"库存调入 GG 5/50", "库存调出 GG 5/50", "盘亏 SN -1/-20", "盘盈 SA 7/70"};
        QTest::newRow("by handler") << int(G::Handler) << int(LedgerFilter::All)
                                    << QStringList{"张三 SA 7/70", "张三 SN -1/-20", "李四 GG 10/100"};
        // The direction tests single rows: transfers count as stock coming in.
        QTest::newRow("out only") << int(G::None) << int(LedgerFilter::Out) << QStringList{"SN -1/-20"};
        QTest::newRow("in only") << int(G::None) << int(LedgerFilter::In) << QStringList{"GG 10/100", "SA 7/70"};
    }
    void changeSummary()
    {
        QFETCH(int, grouping);
        QFETCH(int, direction);
        QFETCH(QStringList, rows);
        TestBook book;
        fillBook(book.db());
        LedgerQuery q(book.db(), LedgerKind::stockChanges());
        LedgerFilter f;
        f.direction = LedgerFilter::Direction(direction);
        QCOMPARE(summaryRows(q.statistics(f, LedgerGrouping(grouping))), rows);
    }

    // The detail of a summary row keeps the goods item and the group but none of the summary's
    // other conditions: the rows of every date and warehouse.
    void drillDownKeepsGroupAndDropsDates()
    {
        TestBook book;
        fillBook(book.db());
        add(book.db(), "rkfx", {{"rq", "2024-12-30"}, {"txm", "GG"}, {"ppgg", "钢管"}, {"dw", "根"}, {"sl", "2"}, {"je", "20"}, {"lx", "库存调出"}, {"jsr", "王五"}, {"ck", "二号库"}, {"dh", "DB20241230001"}});
        LedgerQuery q(book.db(), LedgerKind::stockChanges());
        LedgerFilter march;
        march.dated = true;
        march.from = "2025-03-01";
        march.to = "2025-03-31";
        QCOMPARE(summaryRows(q.statistics(march, LedgerGrouping::Party)).first(), QString("库存调入 GG 5/50"));

        const SqlFilter out = q.goodsItem("GG", "钢管", "根", LedgerGrouping::Party, "库存调出");
        QCOMPARE(documentNumbers(q.rows(out)), (QStringList{"DB20250304001@一号库", "DB20241230001@二号库"}));
        const LedgerTotals t = q.totals(out);
        QCOMPARE(t.sl.toPlain(), QString("7"));
        QCOMPARE(t.je.toPlain(), QString("70"));
        QCOMPARE(documentNumbers(q.rows(q.goodsItem("GG", "钢管", "根"))).size(), 3);
        QCOMPARE(documentNumbers(q.rows(q.goodsItem("GG", "钢管", "根", LedgerGrouping::Handler, "李四"))).size(), 2);
    }

    // The change detail opens on today's rows; a day without movements is empty with totals 0.
    void detailOfOneDay()
    {
        TestBook book;
        fillBook(book.db());
        LedgerQuery q(book.db(), LedgerKind::stockChanges());
        QCOMPARE(documentNumbers(q.rows(q.onDay("2025-03-04"))).size(), 2);
        QVERIFY(documentNumbers(q.rows(q.onDay("2025-03-07"))).isEmpty());
        QCOMPARE(q.totals(q.onDay("2025-03-07")).sl.toPlain(), QString("0"));
    }

    // Query boxes: an empty box does not narrow; a typed one is a containment test.
    void detailQuery_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("warehouse");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("all") << "" << "" << QStringList{"YD20250302001@一号库", "DB20250304001@一号库", "DB20250304001@二号库", "YD20250305001@二号库"};
        QTest::newRow("reason") << "调" << "" << QStringList{"DB20250304001@一号库", "DB20250304001@二号库"};
        QTest::newRow("reason and warehouse") << "调" << "二号" << QStringList{"DB20250304001@二号库"};
        QTest::newRow("percent sign is literal") << "%" << "" << QStringList{};
    }
    void detailQuery()
    {
        QFETCH(QString, reason);
        QFETCH(QString, warehouse);
        QFETCH(QStringList, numbers);
        TestBook book;
        fillBook(book.db());
        LedgerQuery q(book.db(), LedgerKind::stockChanges());
        LedgerFilter f;
        f.party = reason;
        f.ck = warehouse;
        QCOMPARE(documentNumbers(q.rows(q.conditions(f))), numbers);
    }
};

MARVODA_TEST(TestStockReports)
#include "tst_stock_reports.moc"
