#include "documents/entry_queries.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

class TestEntryQueries : public QObject {
    Q_OBJECT
private slots:
    void goodsByCodeNeedsExactlyOneRow_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("inWarehouse");
        QTest::addColumn<QString>("found");   // ppgg, or empty for none
        QTest::newRow("once in the warehouse") << "A1" << true << "甲";
        QTest::newRow("other warehouse only") << "B2" << true << "";
        QTest::newRow("any warehouse") << "B2" << false << "乙";
        QTest::newRow("twice in the warehouse") << "C3" << true << "";
        QTest::newRow("once here, once elsewhere, any warehouse") << "A1x" << false << "";
        QTest::newRow("case counts") << "a1" << true << "";
        QTest::newRow("quote is a character") << "O'1" << true << "丁";
    }
    void goodsByCodeNeedsExactlyOneRow()
    {
        QFETCH(QString, code);
        QFETCH(bool, inWarehouse);
        QFETCH(QString, found);
        TestBook book;
        const QList<QStringList> rows = {{"一号库", "A1", "甲"},  {"二号库", "B2", "乙"},  {"一号库", "C3", "丙1"},
                                         {"一号库", "C3", "丙2"}, {"一号库", "O'1", "丁"}, {"一号库", "A1x", "戊"},
                                         {"二号库", "A1x", "戊"}};
        for (const QStringList &r : rows) book.db().insert("sp", {{"ck", r[0]}, {"txm", r[1]}, {"ppgg", r[2]}, {"dw", "根"}});
        const auto g = EntryQueries::goodsByCode(book.db(), code, inWarehouse ? std::optional<QString>("一号库") : std::nullopt);
        QCOMPARE(g ? g->ppgg : QString(), found);
    }

    void heldDocumentsMatchPartyDatesAndKind_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("party");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("numbers");
        const int cg = int(DocType::Purchase), xs = int(DocType::Retail), pf = int(DocType::Wholesale);
        QTest::newRow("all held purchases") << cg << "" << "" << "" << QStringList{"CG1", "CG3", "CG4"};
        QTest::newRow("part of the name") << cg << "水泥" << "" << "" << QStringList{"CG1", "CG4"};
        QTest::newRow("percent is a character") << cg << "50%" << "" << "" << QStringList{"CG4"};
        QTest::newRow("dates included") << cg << "" << "2024-03-02" << "2024-03-05" << QStringList{"CG3", "CG4"};
        QTest::newRow("retail by prefix") << xs << "" << "" << "" << QStringList{"XS1"};
        QTest::newRow("wholesale by prefix") << pf << "" << "" << "" << QStringList{"PF1"};
    }
    void heldDocumentsMatchPartyDatesAndKind()
    {
        QFETCH(int, type);
        QFETCH(QString, party);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, numbers);
        TestBook book;
        struct Row {
            const char *table, *dh, *partyColumn, *party, *rq, *shbj;
        };
        const Row rows[] = {{"cgglz", "CG1", "ghs", "华新水泥", "2024-03-01", "未审核"},
                            {"cgglz", "CG2", "ghs", "华新水泥", "2024-03-03", "已审核"},
                            {"cgglz", "CG3", "ghs", "钢材厂", "2024-03-02", "未审核"},
                            {"cgglz", "CG4", "ghs", "50%水泥", "2024-03-05", "未审核"},
                            {"xsglz", "XS1", "kh", "甲", "2024-03-01", "未审核"},
                            {"xsglz", "PF1", "kh", "乙", "2024-03-01", "未审核"}};
        for (const Row &r : rows)
            book.db().insert(r.table, {{"dh", r.dh}, {r.partyColumn, QString::fromUtf8(r.party)}, {"rq", r.rq},
                                       {"kdrq", r.rq}, {"shbj", QString::fromUtf8(r.shbj)}});
        EntryQueries::HeldFilter f;
        f.party = party;
        f.from = from;
        f.to = to;
        QSqlQuery q = EntryQueries::heldDocuments(book.db(), documentKind(DocType(type)), f);
        QStringList got;
        while (q.next()) got << q.value("dh").toString();
        QCOMPARE(got, numbers);
    }
};

MARVODA_TEST(TestEntryQueries)
#include "tst_entry_queries.moc"
