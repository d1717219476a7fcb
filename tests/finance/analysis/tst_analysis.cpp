#include "app/data/ledger_query.h"
#include "finance/analysis.h"
#include "finance/combined_statistics.h"
#include "ledger_rows.h"
#include "test_book.h"
#include "test_main.h"

#include <QSqlRecord>
#include <QTest>

using ledger_rows::add;

namespace {

void sale(Database &db, const char *rq, const char *ck, const char *jsr, const char *kh, const char *txm, const char *sl,
          const char *je, const char *cbje)
{
    const Decimal profit = Decimal::parseOr0(QString::fromUtf8(je)) - Decimal::parseOr0(QString::fromUtf8(cbje));
    add(db, "xsfx", {{"rq", rq}, {"ck", ck}, {"jsr", jsr}, {"kh", kh}, {"txm", txm}, {"ppgg", QStringLiteral("品") + txm},
                     {"dw", "个"}, {"sl", sl}, {"je", je}, {"cbje", cbje}, {"maoli", profit.toPlain()}});
}

void goods(Database &db, const char *ck, const char *txm, const char *slt, const char *jet)
{
    add(db, "sp", {{"ck", ck}, {"lb", "类"}, {"txm", txm}, {"ppgg", QStringLiteral("品") + txm}, {"dw", "个"},
                   {"slt", slt}, {"jet", jet}});
}

// Sales worked by hand:
//   03-01 一号库 张三 to 甲: A 10 for 100 (cost 60)
//   03-02 二号库 张三 to 乙: A 4 for 40 (cost 24)
//   03-03 一号库 李四 to 甲: B 2 for 50 (cost 30)
//   03-04 一号库 张三 to 甲: A −1 for −10 (cost −6), a return
void sales(Database &db)
{
    sale(db, "2025-03-01", "一号库", "张三", "甲", "A", "10", "100", "60");
    sale(db, "2025-03-02", "二号库", "张三", "乙", "A", "4", "40", "24");
    sale(db, "2025-03-03", "一号库", "李四", "甲", "B", "2", "50", "30");
    sale(db, "2025-03-04", "一号库", "张三", "甲", "A", "-1", "-10", "-6");
}

QString plain(const QSqlQuery &q, const char *f) { return Decimal::fromRaw(q.value(f).toLongLong()).toPlain(); }

QStringList statisticsRows(QSqlQuery &&q)
{
    QStringList out;
    while (q.next()) {
        const QString group = q.record().indexOf("fenzu") >= 0 ? q.value("fenzu").toString() + u' ' : QString();
        out << group + QStringLiteral("%1 %2/%3 %4/%5").arg(q.value("txm").toString(), plain(q, "zsl"), plain(q, "zje"),
                                                            plain(q, "zcb"), plain(q, "zmaoli"));
    }
    return out;
}

QStringList commissionRows(const QList<Analysis::CommissionRow> &rows)
{
    QStringList out;
    for (const auto &r : rows)
        out << QStringLiteral("%1 %2+%3=%4").arg(r.yuangong, r.sltc.toPlain(), r.jetc.toPlain(), r.ztc.toPlain());
    return out;
}

} // namespace

class TestAnalysis : public QObject {
    Q_OBJECT
private slots:
    void salesStatistics_data()
    {
        QTest::addColumn<int>("grouping");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("rows");
        using G = LedgerGrouping;
        QTest::newRow("per goods") << int(G::None) << int(LedgerFilter::All) << QStringList{"A 13/130 78/52", "B 2/50 30/20"};
        QTest::newRow("by customer") << int(G::Party) << int(LedgerFilter::All)
                                     << QStringList{"乙 A 4/40 24/16", "甲 A 9/90 54/36", "甲 B 2/50 30/20"};
        QTest::newRow("by handler") << int(G::Handler) << int(LedgerFilter::All)
                                    << QStringList{"张三 A 13/130 78/52", "李四 B 2/50 30/20"};
        QTest::newRow("returns only") << int(G::None) << int(LedgerFilter::Out) << QStringList{"A -1/-10 -6/-4"};
    }
    void salesStatistics()
    {
        QFETCH(int, grouping);
        QFETCH(int, direction);
        QFETCH(QStringList, rows);
        TestBook book;
        sales(book.db());
        LedgerQuery q(book.db(), LedgerKind::sales());
        LedgerFilter f;
        f.direction = LedgerFilter::Direction(direction);
        QCOMPARE(statisticsRows(q.statistics(f, LedgerGrouping(grouping))), rows);
    }

    // A purchase row grouped by supplier drills down to that supplier's lines of the goods over
    // all dates; the detail query's boxes and dates narrow the list.
    void purchaseDrillDownAndQuery()
    {
        TestBook book;
        Database &db = book.db();
        for (const auto &[rq, ghs, sl] : {std::tuple{"2024-12-01", "华新", "5"}, std::tuple{"2025-03-01", "华新", "10"},
                                          std::tuple{"2025-03-31", "宝钢", "3"}, std::tuple{"2025-04-01", "华新", "-2"}})
            add(db, "cgfx", {{"rq", rq}, {"ghs", ghs}, {"jsr", "张三"}, {"ck", "一号库"}, {"txm", "SN"}, {"ppgg", "水泥"},
                             {"dw", "袋"}, {"sl", sl}, {"je", sl}});
        LedgerQuery q(db, LedgerKind::purchases());
        LedgerFilter march;
        march.dated = true;
        march.from = "2025-03-01";
        march.to = "2025-03-31";
        QCOMPARE(q.totals(q.conditions(march)).sl.toPlain(), QString("13"));   // both ends included
        march.party = "华";
        QCOMPARE(q.totals(q.conditions(march)).sl.toPlain(), QString("10"));
        march.party.clear();
        march.direction = LedgerFilter::Out;
        QCOMPARE(q.totals(q.conditions(march)).sl.toPlain(), QString("0"));

        QSqlQuery stats = q.statistics(LedgerFilter{}, LedgerGrouping::Party);
        QVERIFY(stats.next());
        QCOMPARE(stats.value("fenzu").toString(), QString("华新"));
        QCOMPARE(plain(stats, "zsl"), QString("13"));
        const LedgerTotals t = q.totals(q.goodsItem("SN", "水泥", "袋", LedgerGrouping::Party, "华新"));
        QCOMPARE(t.sl.toPlain(), QString("13"));
    }

    // Each sale earns the rates of its own warehouse's goods row, once, even when the goods are
    // held in two warehouses; returns reduce the commission; when the sale's warehouse no
    // longer holds the goods, the oldest row with the same code, name and unit gives the rates.
    void commissionCountsEachSaleOnce()
    {
        TestBook book;
        Database &db = book.db();
        sales(db);
        goods(db, "一号库", "A", "0.5", "0.1");
        goods(db, "二号库", "A", "1", "0");
        goods(db, "二号库", "B", "2", "0.02");   // B is sold from 一号库, which no longer holds it
        goods(db, "三号库", "B", "9", "0.9");
        // Goods gone from every warehouse earn nothing: 王五 sold only such goods.
        sale(db, "2025-03-02", "一号库", "王五", "甲", "Z", "3", "30", "20");
        sale(db, "2025-03-02", "一号库", "李四", "甲", "Z", "3", "30", "20");
        // 张三: A 9 from 一号库 (4.5 + 9) and 4 from 二号库 (4 + 0) = 8.5 + 9 = 17.5
        // 李四: B 2 for 50 at 二号库's rates (the oldest B): 4 + 1 = 5
        QCOMPARE(commissionRows(Analysis::commissions(db, {})), (QStringList{"张三 8.5+9=17.5", "李四 4+1=5"}));
        // A warehouse holding the goods twice: its oldest row's rates count, once.
        goods(db, "一号库", "A", "7", "0.7");
        goods(db, "一号库", "A", "3", "0.3");
        QCOMPARE(commissionRows(Analysis::commissions(db, {})), (QStringList{"张三 8.5+9=17.5", "李四 4+1=5"}));
        QCOMPARE(commissionRows(Analysis::commissions(db, {"李", false, {}, {}})), QStringList{"李四 4+1=5"});
        // Only the return, on 03-04: −0.5 − 1 = −1.5.
        QCOMPARE(commissionRows(Analysis::commissions(db, {"", true, "2025-03-04", "2025-03-04"})),
                 QStringList{"张三 -0.5+-1=-1.5"});
    }

    void costIsForTheAdministratorOnly()
    {
        QVERIFY(Analysis::seesCost("系统管理员"));
        QVERIFY(!Analysis::seesCost("收银员"));
    }

    void combinedStatistics()
    {
        TestBook book;
        Database &db = book.db();
        QHash<QString, Decimal> empty = CombinedStatistics::compute(db, {});
        for (const QString &f : CombinedStatistics::fields()) QCOMPARE(empty.value(f).toPlain(), QString("0"));

        sales(db);
        add(db, "cgfx", {{"rq", "2025-03-01"}, {"sl", "5"}, {"je", "50"}});
        add(db, "cgfx", {{"rq", "2025-03-10"}, {"sl", "-8"}, {"je", "-80"}});   // more returned than bought
        add(db, "rkfx", {{"rq", "2025-02-01"}, {"sl", "3"}, {"je", "30"}});
        add(db, "sp", {{"kcsl", "7"}, {"kcje", "70.5"}});
        add(db, "cgglz", {{"rq", "2025-03-02"}, {"shbj", "已审核"}, {"yfe", "100"}, {"sfe", "60"}, {"qk", "40"}});
        add(db, "cgglz", {{"rq", "2025-03-02"}, {"shbj", "未审核"}, {"yfe", "999"}});
        add(db, "xsglz", {{"rq", "2025-03-03"}, {"shbj", "已审核"}, {"yse", "90"}, {"sse", "90"}, {"qk", "0"}});
        // The payment of that purchase was made after the period: it counts in 实付 but not in 营业付款.
        add(db, "fkfx", {{"rq", "2025-04-02"}, {"shbj", "已审核"}, {"je", "60"}});
        add(db, "skfx", {{"rq", "2025-03-03"}, {"shbj", "已审核"}, {"je", "90"}});
        add(db, "skfx", {{"rq", "2025-03-03"}, {"shbj", "未审核"}, {"je", "5"}});
        add(db, "szfx", {{"rq", "2025-03-05"}, {"se", "20"}, {"ze", "35.5"}});

        const QHash<QString, Decimal> march = CombinedStatistics::compute(db, {true, "2025-03-01", "2025-03-31"});
        QStringList got;
        for (const QString &f : CombinedStatistics::fields()) got << f + u'=' + march.value(f).toPlain();
        QCOMPARE(got, (QStringList{"cgsl=-3", "cgje=-30", "xssl=15", "xsje=180", "rksl=0", "rkje=0", "kcsl=7",
                                   "kcje=70.5", "yf=100", "sf=60", "qk1=40", "ys=90", "ss=90", "qk2=0", "fk=0",
                                   "sk=90", "sz=-15.5"}));
        const QHash<QString, Decimal> all = CombinedStatistics::compute(db, {});
        QCOMPARE(all.value("rksl").toPlain(), QString("3"));
        QCOMPARE(all.value("fk").toPlain(), QString("60"));
        QCOMPARE(all.value("kcje").toPlain(), QString("70.5"));
        QCOMPARE(CombinedStatistics::periodLine({true, "2025-03-01", "2025-03-31"}), QString("统计日期：2025-03-01至2025-03-31"));
        QCOMPARE(CombinedStatistics::periodLine({}), QString());
    }
};

MARVODA_TEST(TestAnalysis)
#include "tst_analysis.moc"
