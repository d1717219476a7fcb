#include "admin/book_clearing.h"
#include "admin/operator_book.h"
#include "app/data/schema.h"
#include "app/session.h"
#include "test_book.h"
#include "test_main.h"

#include <QSqlQuery>
#include <QTest>

namespace {

int rowCount(Database &db, const QString &table)
{
    QSqlQuery q = db.exec("SELECT COUNT(*) FROM " + table);
    q.next();
    return q.value(0).toInt();
}

// One row in every table, a clerk with a permission, and a goods row holding stock.
void fillEveryTable(Database &db)
{
    for (const schema::Table &t : schema::tables()) {
        const QString name = QString::fromLatin1(t.name);
        if (name == "sp" || name == "danwei" || name == "yhsz" || name == "quanxian" || name == "czrz") continue;
        const schema::Column &first = t.columns.first();
        db.insert(name, {{QString::fromLatin1(first.name), first.kind == schema::ColumnKind::Text ? QVariant("x") : QVariant(1)}});
    }
    db.insert("sp", {{"txm", "001"}, {"kcsl", 50000}, {"kcjg", 123400}, {"kcje", 6170000}});
    OperatorBook ops(db);
    ops.add("店员", "", "");
    ops.grant("店员", {"零售开单"});
}

} // namespace

class TestClearing : public QObject {
    Q_OBJECT
private slots:
    void init() { session::current().stYhm1 = "系统管理员"; }

    void groupsEmptyExactlyTheirTables_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QStringList>("emptied");
        const QStringList master{"ghs", "kh", "yg", "sp", "lb", "dw", "ck", "szxm", "rklx"};
        const QStringList purchase{"cgglz", "cgglc", "cgfx", "cghz"};
        const QStringList sales{"xsglz", "xsglc", "xsfx", "xshz", "xstj3"};
        const QStringList stock{"kctj", "chai", "zu", "dbglz", "dbglc", "rkglz", "rkglc", "rkfx", "rkhz"};
        const QStringList finance{"fkfx", "skfx", "szfx"};
        QTest::newRow("master data") << QList<int>{0} << master;
        QTest::newRow("purchases") << QList<int>{1} << purchase;
        QTest::newRow("sales") << QList<int>{2} << sales;
        QTest::newRow("stock") << QList<int>{3} << stock;
        QTest::newRow("finance") << QList<int>{4} << finance;
        QTest::newRow("none ticked") << QList<int>{} << QStringList{};
        QTest::newRow("all, in any order") << QList<int>{4, 0, 3, 1, 2} << master + purchase + sales + stock + finance;
    }
    void groupsEmptyExactlyTheirTables()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(QStringList, emptied);
        TestBook b("Adm1n");
        Database &db = b.db();
        fillEveryTable(db);
        const int logRows = rowCount(db, "czrz");
        BookClearing::clear(db, ticked);

        const bool master = ticked.contains(0);
        for (const schema::Table &t : schema::tables()) {
            const QString name = QString::fromLatin1(t.name);
            if (name == "danwei" || name == "yhsz" || name == "quanxian" || name == "czrz") continue;
            QVERIFY2((rowCount(db, name) == 0) == emptied.contains(name), qPrintable(name));
        }
        // The company row, the built-in operator and his permissions are never cleared.
        QCOMPARE(rowCount(db, "danwei"), 1);
        QCOMPARE(session::login(db, "系统管理员", "Adm1n"), session::LoginResult::Ok);
        QCOMPARE(session::grantedPermissions(db, "系统管理员").size(), 12);
        QCOMPARE(rowCount(db, "yhsz"), master ? 1 : 2);
        QCOMPARE(rowCount(db, "quanxian"), master ? 12 : 13);
        // Stock is emptied but the unit cost stays.
        if (ticked.contains(3) && !master) {
            QSqlQuery q = db.exec("SELECT kcsl, kcje, kcjg FROM sp");
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toLongLong(), 0);
            QCOMPARE(q.value(1).toLongLong(), 0);
            QCOMPARE(q.value(2).toLongLong(), 123400);
        }
        QCOMPARE(rowCount(db, "czrz"), logRows + (ticked.isEmpty() ? 0 : 1));
    }

    void aFailedClearingClearsNothing()
    {
        if (TestBook::onPostgres()) QSKIP("the refusing trigger is written for the file book");
        TestBook b;
        Database &db = b.db();
        fillEveryTable(db);
        db.exec("CREATE TRIGGER refuse BEFORE DELETE ON szfx BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        QVERIFY_THROWS_EXCEPTION(DbError, BookClearing::clear(db, {0, 1, 2, 3, 4}));
        for (const char *t : {"ghs", "sp", "cgfx", "xsfx", "rkfx", "fkfx", "szfx"}) QCOMPARE(rowCount(db, t), 1);
        QCOMPARE(rowCount(db, "yhsz"), 2);
    }
};

MARVODA_TEST(TestClearing)
#include "tst_clearing.moc"
