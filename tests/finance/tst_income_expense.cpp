#include "finance/income_expense.h"
#include "finance/payables.h"
#include "test_book.h"
#include "test_main.h"
#include "trade_documents.h"

#include <QSqlQuery>
#include <QTest>

using namespace trade_documents;

Q_DECLARE_METATYPE(Decimal)
Q_DECLARE_METATYPE(IncomeExpenseFilter)
Q_DECLARE_METATYPE(PayablesFilter)
Q_DECLARE_METATYPE(SettlementKind)

namespace {

IncomeExpenseEntry booked(const QString &lb, const char *amount, const QString &xm = QStringLiteral("房租"),
                          const QString &jsr = QStringLiteral("李四"))
{
    return {QDate(2026, 3, 2), lb, xm, money(amount), jsr, QStringLiteral("三月")};
}

std::pair<Decimal, Decimal> amounts(Database &db, qint64 id)
{
    QSqlQuery q = db.exec("SELECT se, ze FROM szfx WHERE id = ?", {id});
    if (!q.next()) return {};
    return {Decimal::fromRaw(q.value(0).toLongLong()), Decimal::fromRaw(q.value(1).toLongLong())};
}

} // namespace

class TestIncomeExpense : public QObject {
    Q_OBJECT
private slots:
    void checksInOrder_data()
    {
        QTest::addColumn<QString>("lb");
        QTest::addColumn<QString>("xm");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("jsr");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        QTest::newRow("no category") << " " << "" << "0" << "" << "类别不可为空！" << "ComboBox1";
        QTest::newRow("other category") << "其他" << "房租" << "12" << "李四" << "类别只可为收入或支出！" << "ComboBox1";
        QTest::newRow("no item") << "支出" << " " << "0" << "" << "项目不可为空！" << "xm";
        QTest::newRow("zero") << "收入" << "房租" << "0" << "" << "金额不可为零！" << "je";
        QTest::newRow("no handler") << " 收入 " << "房租" << "5" << "" << "经办人不可为空！" << "jsr";
    }
    void checksInOrder()
    {
        QFETCH(QString, lb);
        QFETCH(QString, xm);
        QFETCH(QString, amount);
        QFETCH(QString, jsr);
        QFETCH(QString, message);
        QFETCH(QString, field);
        TestBook b;
        auto r = IncomeExpenseBook(b.db()).save(booked(lb, qPrintable(amount), xm, jsr));
        QVERIFY(std::holds_alternative<Refusal>(r));
        QCOMPARE(std::get<Refusal>(r).message, message);
        QCOMPARE(std::get<Refusal>(r).field, field);
        QSqlQuery q = b.db().exec("SELECT COUNT(*) FROM szfx");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }

    void amountGoesToItsCategory_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("then");
        QTest::addColumn<Decimal>("se");
        QTest::addColumn<Decimal>("ze");
        QTest::newRow("expense stays") << "支出" << "支出" << money("0") << money("12.5");
        QTest::newRow("expense becomes income") << "支出" << "收入" << money("12.5") << money("0");
        QTest::newRow("income becomes expense") << "收入" << " 支出 " << money("0") << money("12.5");
    }
    void amountGoesToItsCategory()
    {
        QFETCH(QString, first);
        QFETCH(QString, then);
        QFETCH(Decimal, se);
        QFETCH(Decimal, ze);
        TestBook b;
        IncomeExpenseBook book(b.db());
        const qint64 id = std::get<qint64>(book.save(booked(first, "99")));
        QCOMPARE(std::get<qint64>(book.save(booked(then, "12.504"), id)), id);
        QCOMPARE(amounts(b.db(), id), std::make_pair(se, ze));
        QSqlQuery q = b.db().exec("SELECT lb FROM szfx WHERE id = ?", {id});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), then.trimmed());
    }

    void listAndTotals_data()
    {
        QTest::addColumn<IncomeExpenseFilter>("filter");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<Decimal>("income");
        QTest::addColumn<Decimal>("expense");
        QTest::newRow("today") << IncomeExpenseFilter::day(QDate(2026, 3, 2)) << QStringList{"房租", "利息"}
                               << money("30") << money("1000");
        QTest::newRow("a day without entries") << IncomeExpenseFilter::day(QDate(2026, 3, 9)) << QStringList{}
                                               << money("0") << money("0");
        IncomeExpenseFilter f;
        f.matchTexts = true;
        f.category = IncomeExpenseFilter::IncomeOnly;
        QTest::newRow("income only") << f << QStringList{"利息", "废料"} << money("80") << money("0");
        f = {};
        f.matchTexts = true;
        f.employee = "王";
        f.dates = std::make_pair(QDate(2026, 3, 1), QDate(2026, 3, 3));
        QTest::newRow("employee within dates") << f << QStringList{"房租", "废料"} << money("50") << money("1000");
    }
    void listAndTotals()
    {
        QFETCH(IncomeExpenseFilter, filter);
        QFETCH(QStringList, items);
        QFETCH(Decimal, income);
        QFETCH(Decimal, expense);
        TestBook b;
        IncomeExpenseBook book(b.db());
        book.save(booked("支出", "1000", "房租", "王五"));
        book.save(booked("收入", "30", "利息", "李四"));
        IncomeExpenseEntry scrap = booked("收入", "50", "废料", "王五");
        scrap.date = QDate(2026, 3, 3);
        book.save(scrap);
        QSqlQuery q = book.rows(filter);
        QStringList listed;
        while (q.next()) listed << q.value("xm").toString();
        QCOMPARE(listed, items);
        const IncomeExpenseTotals t = book.totals(filter);
        QCOMPARE(t.income, income);
        QCOMPARE(t.expense, expense);
        QCOMPARE(t.balance(), income - expense);
    }

    void payablesShowOpenDocuments_data()
    {
        QTest::addColumn<SettlementKind>("side");
        QTest::addColumn<PayablesFilter>("filter");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<Decimal>("total");
        for (SettlementKind k : {SettlementKind::Payment, SettlementKind::Collection}) {
            const QByteArray t = SettlementConfig::of(k).documents.toLatin1();
            QTest::newRow(t + " opening") << k << PayablesFilter{} << QStringList{"D1", "D2", "D5"} << money("40");
            PayablesFilter f;
            f.matchTexts = true;
            f.direction = PayablesFilter::Owed;
            QTest::newRow(t + " owed") << k << f << QStringList{"D1", "D5"} << money("90");
            f.direction = PayablesFilter::OwedBack;
            f.partner = "海螺";
            QTest::newRow(t + " owed back by one partner") << k << f << QStringList{"D2"} << money("-50");
            f = {};
            f.matchTexts = true;
            f.dates = std::make_pair(QDate(2026, 3, 5), QDate(2026, 3, 5));
            QTest::newRow(t + " one day") << k << f << QStringList{"D5"} << money("10");
        }
    }
    void payablesShowOpenDocuments()
    {
        QFETCH(SettlementKind, side);
        QFETCH(PayablesFilter, filter);
        QFETCH(QStringList, listed);
        QFETCH(Decimal, total);
        TestBook b;
        add(b.db(), side, "D1", "华新", money("100"), money("20"));
        add(b.db(), side, "D2", "海螺", money("50"), money("100"));
        add(b.db(), side, "D3", "海螺", money("100"), money("100"));                  // settled
        add(b.db(), side, "D4", "海螺", money("-70"), {}, false);                      // not approved
        add(b.db(), side, "D5", "华新", money("10"), {}, true, "2026-03-05");
        PayablesBook book(b.db(), side);
        QSqlQuery q = book.rows(filter);
        QStringList shown;
        while (q.next()) shown << q.value("dh").toString();
        QCOMPARE(shown, listed);
        QCOMPARE(book.total(filter), total);
    }
};

MARVODA_TEST(TestIncomeExpense)
#include "tst_income_expense.moc"
