#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "scripted_prompter.h"
#include "test_main.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {

QList<RecordTableModel::Column> goodsColumns()
{
    return {
        {"id", "id", RecordTableModel::Integer, false},
        {"spbh", "商品编号", RecordTableModel::Text, true},
        {"spmc", "商品名称", RecordTableModel::Text, true},
        {"je", "金额", RecordTableModel::Amount, true},
        {"sl", "数量", RecordTableModel::Quantity, true},
        {"shbj", "审核", RecordTableModel::Text, true},
    };
}

void addRows(RecordTableModel &m)
{
    m.appendRow({qint64(1), QString("00123"), QString("水泥"), Decimal::parseOr0(u"12.5"), Decimal(3), QString("已审核")});
    m.appendRow({qint64(2), QString("00007"), QString("阿胶"), Decimal::parseOr0(u"-4.255"), Decimal::parseOr0(u"-1"), QString("未审核")});
    m.appendRow({qint64(3), QString("10000"), QString("镀锌钢管"), Decimal::parseOr0(u"100"), Decimal(0), QString("已审核")});
    m.appendRow({qint64(4), QString("00123"), QString("螺纹钢"), Decimal::parseOr0(u"12.5"), Decimal(2), QString("已审核")});
}

QStringList column(const RecordTableModel &m, int c)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) out << m.text(r, c);
    return out;
}

bool titleBold(const RecordTableModel &m, int c)
{
    return m.headerData(c, Qt::Horizontal, Qt::FontRole).value<QFont>().bold();
}

void clickTitle(QTableView &grid, int c)
{
    QHeaderView *h = grid.horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(c) + 4, h->height() / 2));
}

} // namespace

class TestRecordTable : public QObject {
    Q_OBJECT
private slots:
    void loadsQueryWithStoredRawAmounts()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "records");
            db.setDatabaseName(":memory:");
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("CREATE TABLE sp (id INTEGER, spbh TEXT, spmc TEXT, je INTEGER, sl INTEGER)"));
            QVERIFY(q.exec("INSERT INTO sp VALUES (1, '00123', '水泥', 125000, -30000), (2, ' 7 ', NULL, -42550, 0)"));
            QVERIFY(q.exec("SELECT spmc, id, je, spbh, sl FROM sp ORDER BY id"));   // any column order
            RecordTableModel m(goodsColumns());
            QVERIFY(!m.isOpen());
            m.load(q);
            QVERIFY(m.isOpen());
            QCOMPARE(m.rowCount(), 2);
            QCOMPARE(m.text(0, "spbh"), QString("00123"));
            QCOMPARE(m.text(0, "je"), QString("12.50"));
            QCOMPARE(m.text(1, "je"), QString("-4.26"));   // shown at two decimals, half to even
            QCOMPARE(m.decimal(1, "je"), Decimal::fromRaw(-42550));
            QCOMPARE(m.integer(1, "id"), qint64(2));
            QCOMPARE(m.text(1, "spmc"), QString());
            QCOMPARE(m.text(1, "shbj"), QString());   // not in the query: empty
            QCOMPARE(m.index(0, 4).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
            QVERIFY(!m.index(0, 3).data(Qt::ForegroundRole).isValid());
            QCOMPARE(m.index(1, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
            QVERIFY(!m.index(0, 2).data(Qt::ForegroundRole).isValid());   // text is never red
        }
        QSqlDatabase::removeDatabase("records");
    }

    // A long list shows its first rows at once and reads the rest as asked, never skipping or
    // repeating a row, also after rows were taken out; a sort reads everything first.
    void lazyLoadingReadsEveryRowOnce()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "lazy");
            db.setDatabaseName(":memory:");
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("CREATE TABLE sp (id INTEGER, spbh TEXT, je INTEGER)"));
            QVERIFY(q.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000) "
                           "INSERT INTO sp SELECT i, printf('%05d', i), i * 10000 FROM n"));
            auto rows = [&] {
                QSqlQuery r(db);
                r.setForwardOnly(true);
                r.exec("SELECT id, spbh, je FROM sp ORDER BY id");
                return r;
            };
            RecordTableModel m(goodsColumns());
            m.loadLazily(rows(), 10);
            QCOMPARE(m.rowCount(), 10);
            QVERIFY(m.canFetchMore());
            m.removeRows(0, 1);
            m.fetchMore();
            QCOMPARE(m.rowCount(), 9 + RecordTableModel::FetchBatch);
            QCOMPARE(m.integer(8, "id"), qint64(10));
            QCOMPARE(m.integer(9, "id"), qint64(11));
            m.fetchAll();
            QVERIFY(!m.canFetchMore());
            QCOMPARE(m.rowCount(), 11999);
            QCOMPARE(m.text(11998, "spbh"), QString("12000"));

            m.loadLazily(rows(), 10);
            m.sort(m.columnOf("je"), Qt::DescendingOrder);
            QCOMPARE(m.rowCount(), 12000);
            QCOMPARE(m.integer(0, "id"), qint64(12000));
            QVERIFY(!m.canFetchMore());
        }
        QSqlDatabase::removeDatabase("lazy");
    }

    void notApprovedRowsLightGreen()
    {
        RecordTableModel m(goodsColumns());
        addRows(m);
        m.highlightNotApproved();
        QVERIFY(!m.index(0, 1).data(Qt::BackgroundRole).isValid());
        QCOMPARE(m.index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(225, 255, 225));
        m.sort(2);   // the colour follows the record, not the position
        QCOMPARE(m.text(0, "shbj"), QString("未审核"));
        QCOMPARE(m.index(0, 5).data(Qt::BackgroundRole).value<QColor>(), QColor(225, 255, 225));
    }

    // A document un-approved in the list turns green at once and sorts by its new state; rows
    // loaded afresh show what the book holds.
    void changedTextFollowsTheRecord()
    {
        RecordTableModel m(goodsColumns());
        addRows(m);
        m.highlightNotApproved();
        m.sort(5);   // 未审核 (wei) before 已审核 (yi)
        QCOMPARE(column(m, 0), QStringList({"2", "1", "3", "4"}));
        m.setText(3, 5, "未审核");
        QCOMPARE(m.index(3, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(225, 255, 225));
        m.sort(5);
        QCOMPARE(column(m, 0), QStringList({"2", "4", "1", "3"}));
        m.sort(2);
        QCOMPARE(m.text(2, "spmc"), QString("螺纹钢"));
        QCOMPARE(m.text(2, "shbj"), QString("未审核"));
        m.setText(0, 3, "1");   // amounts are not texts: left alone
        QCOMPARE(m.text(0, 3), QString("-4.26"));
        m.clearOpen();
        addRows(m);
        QCOMPARE(m.text(0, "shbj"), QString("已审核"));
    }

    void titleClicksAlternateWithBoldTitle()
    {
        RecordTableModel m(goodsColumns());
        addRows(m);
        QTableView grid;
        ListWindow::setupGrid(&grid, &m);
        QVERIFY(grid.isColumnHidden(0));
        grid.resize(800, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        clickTitle(grid, 3);
        QCOMPARE(column(m, 3), QStringList({"-4.26", "12.50", "12.50", "100.00"}));
        QCOMPARE(column(m, 0), QStringList({"2", "1", "4", "3"}));   // equal amounts in loaded order
        QVERIFY(titleBold(m, 3));
        clickTitle(grid, 3);
        QCOMPARE(column(m, 3), QStringList({"100.00", "12.50", "12.50", "-4.26"}));
        QCOMPARE(column(m, 0), QStringList({"3", "1", "4", "2"}));
        clickTitle(grid, 3);
        QCOMPARE(column(m, 3), QStringList({"-4.26", "12.50", "12.50", "100.00"}));
        QVERIFY(titleBold(m, 3));

        clickTitle(grid, 2);   // another title starts ascending, and only it is bold
        QCOMPARE(column(m, 2), QStringList({"阿胶", "镀锌钢管", "螺纹钢", "水泥"}));   // pinyin order
        QVERIFY(titleBold(m, 2));
        QVERIFY(!titleBold(m, 3));
    }

    void sortKeepsCurrentRecord()
    {
        RecordTableModel m(goodsColumns());
        addRows(m);
        QTableView grid;
        ListWindow::setupGrid(&grid, &m);
        grid.setCurrentIndex(m.index(2, 2));   // 镀锌钢管
        m.sort(3, Qt::DescendingOrder);
        QCOMPARE(m.text(grid.currentIndex().row(), "spmc"), QString("镀锌钢管"));
    }

    void reloadDropsSortAndClosedListIgnoresClicks()
    {
        RecordTableModel m(goodsColumns());
        QTableView grid;
        ListWindow::setupGrid(&grid, &m);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        clickTitle(grid, 2);
        QCOMPARE(m.sortColumn(), -1);   // not open: nothing happens
        addRows(m);
        m.sort(2);
        m.close();
        QCOMPARE(m.sortColumn(), -1);
        QVERIFY(!titleBold(m, 2));
    }

    void guards()
    {
        ScriptedPrompter p;
        RecordTableModel m(goodsColumns());
        QVERIFY(!ListWindow::requireRows(&m, "商品", ListWindow::Edit));
        QCOMPARE(p.last(), QString("数据表未打开，请先查询！"));
        QCOMPARE(p.lastKind(), QString("warn"));
        m.appendRow({});
        m.removeRows(0, 1);
        QVERIFY(m.isOpen());
        QVERIFY(!ListWindow::requireRows(&m, "商品", ListWindow::Edit));
        QCOMPARE(p.last(), QString("没有商品可修改！"));
        QVERIFY(!ListWindow::requireRows(&m, "客户", ListWindow::Delete));
        QCOMPARE(p.last(), QString("没有客户可删除！"));
        QVERIFY(!ListWindow::requireRows(&m, "仓库", ListWindow::Choose));
        QCOMPARE(p.last(), QString("没有仓库可选择！"));
        QCOMPARE(p.lastKind(), QString("warn"));
        addRows(m);
        p.clear();
        QVERIFY(ListWindow::requireRows(&m, "商品", ListWindow::Delete));
        QVERIFY(p.messages().isEmpty());
        p.answer(false);
        QVERIFY(!ListWindow::confirmDelete("商品"));
        QCOMPARE(p.last(), QString("确定要删除此商品么？"));
        QCOMPARE(p.lastKind(), QString("confirm"));
        QCOMPARE(ListWindow::recordCountText(m.rowCount()), QString("记录数：4"));
    }
};

MARVODA_TEST(TestRecordTable)
#include "tst_record_table.moc"
