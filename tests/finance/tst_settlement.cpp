#include "finance/settlement.h"
#include "test_book.h"
#include "test_main.h"
#include "trade_documents.h"

#include <QSqlQuery>
#include <QTest>

using namespace trade_documents;

Q_DECLARE_METATYPE(SettlementKind)
Q_DECLARE_METATYPE(Decimal)
Q_DECLARE_METATYPE(SettlementFilter)

namespace {

const SettlementKind Payment = SettlementKind::Payment;
const SettlementKind Collection = SettlementKind::Collection;

SettlementEntry entry(const QString &dh, const QString &partner, Decimal owed, Decimal amount,
                      const QString &jsr = QStringLiteral("李四"))
{
    return {QDate(2026, 3, 2), dh, partner, owed, amount, jsr, QStringLiteral("备注")};
}

// Saves a payment or collection against a document as the dialog would after its lookup.
qint64 pay(SettlementService &s, const QString &dh, Decimal amount, qint64 id = 0)
{
    const auto doc = s.owedDocument(dh);
    auto r = s.save(entry(dh, doc ? doc->partner : QString(), doc ? doc->owed : Decimal(), amount), id);
    if (!std::holds_alternative<qint64>(r)) qFatal("refused: %s", qPrintable(std::get<Refusal>(r).message));
    return std::get<qint64>(r);
}

QString flag(Database &db, SettlementKind k, qint64 id)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT shbj FROM %1 WHERE id = ?").arg(SettlementConfig::of(k).ledger), {id});
    return q.next() ? q.value(0).toString() : QStringLiteral("(gone)");
}

void addKinds()
{
    QTest::addColumn<SettlementKind>("kind");
}

} // namespace

class TestSettlement : public QObject {
    Q_OBJECT
private slots:
    void lookupFindsOnlyApprovedOwedDocuments_data()
    {
        addKinds();
        QTest::addColumn<QString>("dh");
        QTest::addColumn<bool>("found");
        for (SettlementKind k : {Payment, Collection}) {
            const QByteArray t = SettlementConfig::of(k).ledger.toLatin1();
            QTest::newRow(t + " owed") << k << "D1" << true;
            QTest::newRow(t + " owed back") << k << "D2" << true;
            QTest::newRow(t + " settled") << k << "D3" << false;
            QTest::newRow(t + " not approved") << k << "D4" << false;
            QTest::newRow(t + " unknown") << k << "D9" << false;
            QTest::newRow(t + " part of a number") << k << "D" << false;
        }
    }
    void lookupFindsOnlyApprovedOwedDocuments()
    {
        QFETCH(SettlementKind, kind);
        QFETCH(QString, dh);
        QFETCH(bool, found);
        TestBook b;
        add(b.db(), kind, "D1", "华新", money("100"), money("40"));
        add(b.db(), kind, "D2", "华新", money("0"), money("30"));
        add(b.db(), kind, "D3", "华新", money("100"), money("100"));
        add(b.db(), kind, "D4", "华新", money("100"), {}, false);
        SettlementService s(b.db(), kind);
        const auto doc = s.owedDocument(dh);
        QCOMPARE(bool(doc), found);
        // The chooser offers exactly what the lookup accepts.
        QSqlQuery q = s.owedDocuments(QString());
        QStringList offered;
        while (q.next()) offered << q.value("dh").toString();
        QCOMPARE(offered, QStringList({"D1", "D2"}));
        if (found) QCOMPARE(doc->owed, of(b.db(), kind, dh).owed);
    }

    void chooserFiltersPartnerAndDates()
    {
        TestBook b;
        add(b.db(), Payment, "D1", "华新水泥", money("10"), {}, true, "2026-02-01");
        add(b.db(), Payment, "D2", "华新建材", money("10"), {}, true, "2026-03-01");
        add(b.db(), Payment, "D3", "海螺100%", money("10"), {}, true, "2026-03-05");
        SettlementService s(b.db(), Payment);
        auto listed = [&](const QString &p, DatePeriod r) {
            QSqlQuery q = s.owedDocuments(p, r);
            QStringList out;
            while (q.next()) out << q.value("dh").toString();
            return out;
        };
        QCOMPARE(listed("华新", {}), QStringList({"D1", "D2"}));
        QCOMPARE(listed("0%", {}), QStringList({"D3"}));
        QCOMPARE(listed("", std::make_pair(QDate(2026, 3, 1), QDate(2026, 3, 5))), QStringList({"D2", "D3"}));
    }

    void checksInOrder_data()
    {
        addKinds();
        QTest::addColumn<QString>("partner");
        QTest::addColumn<Decimal>("owed");
        QTest::addColumn<Decimal>("amount");
        QTest::addColumn<QString>("jsr");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        for (SettlementKind k : {Payment, Collection}) {
            const SettlementConfig &c = SettlementConfig::of(k);
            const QByteArray t = c.ledger.toLatin1();
            QTest::newRow(t + " no document, nothing else either") << k << " " << money("0") << money("0") << "" << "帐单不可为空！" << "dh";
            QTest::newRow(t + " nothing owed") << k << "华新" << money("0") << money("5") << "" << "欠款为零，无须支付！" << "qk";
            QTest::newRow(t + " zero amount") << k << "华新" << money("5") << money("0") << "" << c.zeroMessage << c.amountField;
            QTest::newRow(t + " amount rounds to zero") << k << "华新" << money("5") << money("0.004") << "李四" << c.zeroMessage << c.amountField;
            QTest::newRow(t + " no handler") << k << "华新" << money("5") << money("5") << "  " << "经办人不可为空！" << "jsr";
            QTest::newRow(t + " refund accepted") << k << "华新" << money("-5") << money("-5") << "李四" << "" << "";
        }
    }
    void checksInOrder()
    {
        QFETCH(SettlementKind, kind);
        QFETCH(QString, partner);
        QFETCH(Decimal, owed);
        QFETCH(Decimal, amount);
        QFETCH(QString, jsr);
        QFETCH(QString, message);
        QFETCH(QString, field);
        TestBook b;
        add(b.db(), kind, "D1", "华新", money("100"));
        SettlementService s(b.db(), kind);
        auto r = s.save(entry("D1", partner, owed, amount, jsr));
        if (message.isEmpty()) {
            QVERIFY(std::holds_alternative<qint64>(r));
            return;
        }
        QVERIFY(std::holds_alternative<Refusal>(r));
        QCOMPARE(std::get<Refusal>(r).message, message);
        QCOMPARE(std::get<Refusal>(r).field, field);
        QCOMPARE(of(b.db(), kind, "D1").paid, money("0"));
        QSqlQuery q = b.db().exec("SELECT COUNT(*) FROM " + s.config().ledger);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }

    void savingSettlesTheDocument_data()
    {
        addKinds();
        QTest::addColumn<Decimal>("payable");
        QTest::addColumn<Decimal>("paid");
        QTest::addColumn<Decimal>("amount");
        QTest::addColumn<Decimal>("stored");
        QTest::addColumn<Decimal>("owedAfter");
        for (SettlementKind k : {Payment, Collection}) {
            const QByteArray t = SettlementConfig::of(k).ledger.toLatin1();
            QTest::newRow(t + " part") << k << money("1000") << money("200") << money("300") << money("300") << money("500");
            QTest::newRow(t + " three decimals rounded to cents") << k << money("1000") << money("0") << money("100.456") << money("100.46") << money("899.54");
            QTest::newRow(t + " half cent to even") << k << money("1000") << money("0") << money("0.125") << money("0.12") << money("999.88");
            QTest::newRow(t + " more than owed") << k << money("100") << money("0") << money("150") << money("150") << money("-50");
            QTest::newRow(t + " owed back, still paid") << k << money("100") << money("130") << money("20") << money("20") << money("-50");
            QTest::newRow(t + " refund") << k << money("100") << money("130") << money("-30") << money("-30") << money("0");
        }
    }
    void savingSettlesTheDocument()
    {
        QFETCH(SettlementKind, kind);
        QFETCH(Decimal, payable);
        QFETCH(Decimal, paid);
        QFETCH(Decimal, amount);
        QFETCH(Decimal, stored);
        QFETCH(Decimal, owedAfter);
        TestBook b;
        add(b.db(), kind, "D1", "华新", payable, paid);
        add(b.db(), kind, "D2", "华新", payable, paid);
        SettlementService s(b.db(), kind);
        const qint64 id = pay(s, "D1", amount);
        const Money m = of(b.db(), kind, "D1");
        QCOMPARE(m.paid, paid + stored);
        QCOMPARE(m.owed, owedAfter);
        QCOMPARE(of(b.db(), kind, "D2").paid, paid);   // only its own document
        QSqlQuery q = b.db().exec(QStringLiteral("SELECT je, shbj, rq FROM %1 WHERE id = ?").arg(s.config().ledger), {id});
        QVERIFY(q.next());
        QCOMPARE(Decimal::fromRaw(q.value(0).toLongLong()), stored);
        QCOMPARE(q.value(1).toString(), QStringLiteral("已审核"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("2026-03-02"));
    }

    void unapproveModifyAndDelete_data()
    {
        addKinds();
        for (SettlementKind k : {Payment, Collection}) QTest::newRow(SettlementConfig::of(k).ledger.toLatin1()) << k;
    }
    void unapproveModifyAndDelete()
    {
        QFETCH(SettlementKind, kind);
        TestBook b;
        add(b.db(), kind, "D1", "华新", money("1000"));
        add(b.db(), kind, "D2", "海螺", money("500"));
        SettlementService s(b.db(), kind);
        const qint64 first = pay(s, "D1", money("300"));
        const qint64 second = pay(s, "D1", money("200"));
        QCOMPARE(of(b.db(), kind, "D1").owed, money("500"));

        // Un-approving takes the amount out; a second time is refused and changes nothing.
        QVERIFY(!s.unapprove(second));
        QCOMPARE(flag(b.db(), kind, second), QStringLiteral("未审核"));
        QCOMPARE(of(b.db(), kind, "D1").owed, money("700"));
        const auto again = s.unapprove(second);
        QVERIFY(again);
        QCOMPARE(again->message, QStringLiteral("数据已经反审！"));
        QCOMPARE(of(b.db(), kind, "D1").owed, money("700"));

        // Modified, it moves to another document and counts there.
        pay(s, "D2", money("120"), second);
        QCOMPARE(of(b.db(), kind, "D1").owed, money("700"));
        QCOMPARE(of(b.db(), kind, "D2").owed, money("380"));
        QCOMPARE(flag(b.db(), kind, second), QStringLiteral("已审核"));

        // Deleting an approved row takes its amount back out of the document.
        s.remove(first);
        QCOMPARE(of(b.db(), kind, "D1").paid, money("0"));
        QCOMPARE(of(b.db(), kind, "D1").owed, money("1000"));
        QCOMPARE(flag(b.db(), kind, first), QStringLiteral("(gone)"));
        // Deleting an un-approved one only removes the row.
        QVERIFY(!s.unapprove(second));
        s.remove(second);
        QCOMPARE(of(b.db(), kind, "D2").owed, money("500"));
    }

    void modifyingAnApprovedRowNeverCountsItTwice()
    {
        TestBook b;
        add(b.db(), Payment, "D1", "华新", money("1000"));
        SettlementService s(b.db(), Payment);
        const qint64 id = pay(s, "D1", money("300"));
        pay(s, "D1", money("250"), id);
        QCOMPARE(of(b.db(), Payment, "D1").paid, money("250"));
    }

    void documentGoneOnlyChangesTheFlag()
    {
        TestBook b;
        add(b.db(), Collection, "D1", "王五", money("80"));
        add(b.db(), Collection, "D2", "王五", money("80"));
        SettlementService s(b.db(), Collection);
        const qint64 id = pay(s, "D1", money("30"));
        b.db().exec("DELETE FROM xsglz WHERE dh = 'D1'");
        QVERIFY(!s.unapprove(id));
        QCOMPARE(flag(b.db(), Collection, id), QStringLiteral("未审核"));
        QCOMPARE(of(b.db(), Collection, "D2").paid, money("0"));
    }

    void aFailedSaveLeavesNoRow()
    {
        if (TestBook::onPostgres()) QSKIP("the refusing trigger is written for SQLite");
        TestBook b;
        add(b.db(), Payment, "D1", "华新", money("1000"));
        b.db().exec("CREATE TRIGGER refuse BEFORE UPDATE ON cgglz BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        SettlementService s(b.db(), Payment);
        QVERIFY_THROWS_EXCEPTION(DbError, s.save(entry("D1", "华新", money("1000"), money("10"))));
        QSqlQuery q = b.db().exec("SELECT COUNT(*) FROM fkfx");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }

    void listConditions_data()
    {
        QTest::addColumn<SettlementFilter>("filter");
        QTest::addColumn<QStringList>("bz");
        QTest::addColumn<Decimal>("total");
        SettlementFilter f = SettlementFilter::day(QDate(2026, 3, 2));
        QTest::newRow("one day") << f << QStringList{"a", "b"} << money("250");
        SettlementFilter typed;
        typed.matchTexts = true;
        QTest::newRow("all texts empty") << typed << QStringList{"a", "b", "c", "d"} << money("250");
        f = typed;
        f.partner = "华";
        QTest::newRow("partner") << f << QStringList{"a", "c"} << money("200");
        f = typed;
        f.employee = "li";
        QTest::newRow("employee ignores case") << f << QStringList{"b"} << money("150");
        f = typed;
        f.dh = "_";
        QTest::newRow("underscore is a character") << f << QStringList{"d"} << money("-100");
        f = typed;
        f.approval = SettlementFilter::NotApproved;
        QTest::newRow("not approved") << f << QStringList{"c"} << money("100");
        f = typed;
        f.approval = SettlementFilter::Approved;
        f.direction = SettlementFilter::Settled;
        QTest::newRow("approved settlements") << f << QStringList{"a", "b"} << money("250");
        f = typed;
        f.direction = SettlementFilter::Refunded;
        QTest::newRow("refunds") << f << QStringList{"d"} << money("-100");
        f = typed;
        f.dates = std::make_pair(QDate(2026, 3, 2), QDate(2026, 3, 3));
        QTest::newRow("date range includes both ends") << f << QStringList{"a", "b", "c"} << money("350");
        f.dates = std::make_pair(QDate(2026, 3, 10), QDate(2026, 3, 20));
        QTest::newRow("nothing") << f << QStringList{} << money("0");
    }
    void listConditions()
    {
        QFETCH(SettlementFilter, filter);
        QFETCH(QStringList, bz);
        QFETCH(Decimal, total);
        TestBook b;
        auto row = [&](const char *rq, const char *dh, const char *ghs, const char *je, const char *jsr,
                       const char *shbj, const char *note) {
            b.db().insert("fkfx", {{"rq", rq}, {"dh", dh}, {"ghs", QString::fromUtf8(ghs)}, {"je", money(je).raw()},
                                   {"jsr", QString::fromUtf8(jsr)}, {"shbj", QString::fromUtf8(shbj)}, {"bz", note}});
        };
        row("2026-03-02", "CG1", "华新", "100", "张三", "已审核", "a");
        row("2026-03-02", "CG2", "海螺", "150", "Li 四", "已审核", "b");
        row("2026-03-03", "CG3", "华联", "100", "张三", "未审核", "c");
        row("2026-03-04", "CG_4", "海螺", "-100", "张三", "已审核", "d");
        SettlementService s(b.db(), Payment);
        QSqlQuery q = s.rows(filter);
        QStringList listed;
        while (q.next()) listed << q.value("bz").toString();
        QCOMPARE(listed, bz);
        QCOMPARE(s.total(filter), total);
    }
};

MARVODA_TEST(TestSettlement)
#include "tst_settlement.moc"
