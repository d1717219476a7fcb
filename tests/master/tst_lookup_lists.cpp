#include "master/lookup_list.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

Q_DECLARE_METATYPE(LookupKind)

namespace {

QStringList stored(LookupList &list)
{
    QSqlQuery q = list.all();
    QStringList out;
    while (q.next()) {
        QStringList row;
        for (int i = 1; i <= list.config().columns.size(); ++i) row << q.value(i).toString();
        out << row.join(u'/');
    }
    return out;
}

// A value for each list, with the category first for the income and expense items.
QStringList valueFor(LookupKind kind, const QString &v)
{
    return kind == LookupKind::IncomeExpenseItem ? QStringList{"支出", v} : QStringList{v};
}

} // namespace

class TestLookupLists : public QObject {
    Q_OBJECT
private slots:
    void addTrimsRefusesRepeatsAndEmpties_data()
    {
        QTest::addColumn<LookupKind>("kind");
        QTest::addColumn<QString>("repeatMessage");
        QTest::addColumn<QString>("emptyMessage");
        QTest::newRow("lb") << LookupKind::Category << "商品类别不可重复！" << "商品类别不可为空！";
        QTest::newRow("dw") << LookupKind::Unit << "计量单位不可重复！" << "计量单位不可为空！";
        QTest::newRow("ck") << LookupKind::Warehouse << "仓库不可重复！" << "仓库不可为空！";
        QTest::newRow("rklx") << LookupKind::AdjustmentReason << "异动原因不可重复！" << "异动原因不可为空！";
        QTest::newRow("szxm") << LookupKind::IncomeExpenseItem << "项目不可重复！" << "项目不可为空！";
    }
    void addTrimsRefusesRepeatsAndEmpties()
    {
        QFETCH(LookupKind, kind);
        QFETCH(QString, repeatMessage);
        QFETCH(QString, emptyMessage);
        TestBook book;
        LookupList list(book.db(), kind);
        const QString prefix = kind == LookupKind::IncomeExpenseItem ? "支出/" : "";

        QVERIFY(!list.add(valueFor(kind, "  钢材 ")));
        QCOMPARE(stored(list), QStringList{prefix + "钢材"});

        auto repeat = list.add(valueFor(kind, "钢材  "));
        QVERIFY(repeat);
        QCOMPARE(repeat->message, repeatMessage);
        QCOMPARE(repeat->kind, Refusal::Refused);

        auto empty = list.add(valueFor(kind, "   "));
        QVERIFY(empty);
        QCOMPARE(empty->message, emptyMessage);
        QCOMPARE(empty->kind, Refusal::Missing);
        QCOMPARE(stored(list).size(), 1);
    }

    // Quotes and wildcards are ordinary characters: "5%" and "5_" are two values, and a quote
    // is stored as typed.
    void quotesAndWildcardsAreOrdinary()
    {
        TestBook book;
        LookupList list(book.db(), LookupKind::Warehouse);
        for (const char *v : {"O'Neil 仓", "5%", "5_", "5\\"}) QVERIFY(!list.add({QString::fromUtf8(v)}));
        QVERIFY(list.add({"O'Neil 仓"}));
        QVERIFY(!list.add({"55"}));
        QCOMPARE(list.values(), (QStringList{"O'Neil 仓", "5%", "5_", "5\\", "55"}));
    }

    void editAcceptsAnExistingValue_data()
    {
        QTest::addColumn<LookupKind>("kind");
        QTest::newRow("lb") << LookupKind::Category;
        QTest::newRow("dw") << LookupKind::Unit;
        QTest::newRow("ck") << LookupKind::Warehouse;
    }
    void editAcceptsAnExistingValue()
    {
        QFETCH(LookupKind, kind);
        TestBook book;
        LookupList list(book.db(), kind);
        qint64 first = 0, second = 0;
        QVERIFY(!list.add({"钢材"}, &first));
        QVERIFY(!list.add({"水泥"}, &second));
        QVERIFY(!list.edit(second, {" 钢材 "}));
        QCOMPARE(list.values(), (QStringList{"钢材", "钢材"}));
        auto empty = list.edit(first, {""});
        QVERIFY(empty);
        QCOMPARE(empty->message, list.config().emptyMessages[0]);
        list.remove(first);
        QCOMPARE(list.values(), QStringList{"钢材"});
    }

    void incomeAndExpenseMayShareAnItem()
    {
        TestBook book;
        LookupList list(book.db(), LookupKind::IncomeExpenseItem);
        QVERIFY(!list.add({"收入", "运费"}));
        QVERIFY(!list.add({"支出", "运费"}));
        QCOMPARE(list.add({"收入", " 运费"})->message, QString("项目不可重复！"));
        QCOMPARE(list.add({"", "房租"})->message, QString("类别不可为空！"));
        QCOMPARE(stored(list), (QStringList{"收入/运费", "支出/运费"}));
        QCOMPARE(list.values(), (QStringList{"运费", "运费"}));   // "选择" hands back the item only
    }

    void warehouseMarksNameTheirField_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("field");
        for (const char *m : {"tjsp", "tjcg", "tjxs", "tjpf", "tjrk"}) QTest::newRow(m) << m << "ck";
        for (const char *m : {"tjdb1", "zu1", "chai1"}) QTest::newRow(m) << m << "ck1";
        for (const char *m : {"tjdb2", "zu2", "chai2"}) QTest::newRow(m) << m << "ck2";
        QTest::newRow("unknown") << "tjdb" << "";
    }
    void warehouseMarksNameTheirField()
    {
        QFETCH(QString, mark);
        QFETCH(QString, field);
        QCOMPARE(warehouseFieldForMark(mark), field);
    }
};

MARVODA_TEST(TestLookupLists)
#include "tst_lookup_lists.moc"
