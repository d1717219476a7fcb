#include "document_fixture.h"
#include "documents/document_list_query.h"
#include "test_book.h"
#include "test_main.h"

#include <QTest>

namespace {

const DocumentKind &purchase() { return documentKind(DocType::Purchase); }

struct Doc {
    const char *dh, *rq, *ghs, *jsr, *shbj, *qk;
};

// Entered out of number order, so entry order and number order differ.
const Doc Docs[] = {
    {"CG20240305003", "2024-03-01", "宏达建材", "张三", "已审核", "0"},
    {"CG20240305001", "2024-03-05", "50%钢材", "李四", "未审核", "10"},
    {"CG20240305002", "2024-03-10", "东方_五金", "张三", "未审核", "0"},
    {"CG20240306001", "2024-03-11", "O'Neil建材", "", "已审核", "-5"},
    {"CG20240306002", "2024-02-29", "500钢材", "王五", "已审核", "0"},
    {"CG20240306003", "2024-03-12", "东方x五金", "赵六", "未审核", "2.5"},
};

void addDocuments(Database &db)
{
    int n = 0;
    for (const Doc &d : Docs) {
        ++n;
        db.insert("cgglz", {{"dh", d.dh}, {"rq", d.rq}, {"kdrq", d.rq}, {"ghs", d.ghs}, {"jsr", d.jsr},
                            {"shbj", d.shbj}, {"ck", "一号库"}, {"hjsl", dec("1").raw() * n},
                            {"hjje", dec("100").raw() * n}, {"yhe", 0}, {"yfe", dec("90").raw() * n},
                            {"sfe", dec("90").raw() * n - dec(d.qk).raw()}, {"qk", dec(d.qk).raw()}});
    }
}

QStringList numbers(QSqlQuery q)
{
    QStringList out;
    while (q.next()) out << q.value("dh").toString().right(4);
    return out;
}

QString sumsText(const DocumentListSums &s)
{
    return QStringList{s.hjsl.toPlain(), s.hjje.toPlain(), s.payable.toPlain(), s.paid.toPlain(), s.qk.toPlain()}
        .join(' ');
}

} // namespace

Q_DECLARE_METATYPE(DocumentListFilter)

class TestDocumentListQuery : public QObject {
    Q_OBJECT
private slots:
    void openingListsHeldDocumentsByNumber()
    {
        TestBook book;
        addDocuments(book.db());
        DocumentListQuery q(book.db(), purchase());
        QCOMPARE(numbers(q.heldRows()), QStringList({"5001", "5002", "6003"}));
        // Documents 2, 3 and 6: quantities 2+3+6, amounts ×100, payable ×90, debts 10+0+2.5.
        QCOMPARE(sumsText(q.heldSums()), "11 1100 990 977.5 12.5");
    }

    void conditions_data()
    {
        QTest::addColumn<DocumentListFilter>("filter");
        QTest::addColumn<QStringList>("expected");
        const auto f = [](auto change) {
            DocumentListFilter x;
            change(x);
            return x;
        };
        QTest::newRow("nothing asked: every document in entry order")
            << DocumentListFilter{} << QStringList{"5003", "5001", "5002", "6001", "6002", "6003"};
        QTest::newRow("supplier") << f([](auto &x) { x.party = "建材"; }) << QStringList{"5003", "6001"};
        QTest::newRow("handler") << f([](auto &x) { x.handler = "张三"; }) << QStringList{"5003", "5002"};
        QTest::newRow("number") << f([](auto &x) { x.number = "0306"; }) << QStringList{"6001", "6002", "6003"};
        QTest::newRow("held") << f([](auto &x) { x.approval = DocFlag::NotApproved; })
                              << QStringList{"5001", "5002", "6003"};
        QTest::newRow("approved") << f([](auto &x) { x.approval = DocFlag::Approved; })
                                  << QStringList{"5003", "6001", "6002"};
        QTest::newRow("dates, both ends included")
            << f([](auto &x) { x.dates = std::pair{QDate(2024, 3, 1), QDate(2024, 3, 10)}; })
            << QStringList{"5003", "5001", "5002"};
        QTest::newRow("one day") << f([](auto &x) { x.dates = std::pair{QDate(2024, 2, 29), QDate(2024, 2, 29)}; })
                                 << QStringList{"6002"};
        QTest::newRow("debt only, owed back too") << f([](auto &x) { x.debtOnly = true; })
                                                   << QStringList{"5001", "6001", "6003"};
        QTest::newRow("percent sign is plain text") << f([](auto &x) { x.party = "50%"; }) << QStringList{"5001"};
        QTest::newRow("underscore is plain text") << f([](auto &x) { x.party = "东方_"; }) << QStringList{"5002"};
        QTest::newRow("quote is plain text") << f([](auto &x) { x.party = "O'Neil"; }) << QStringList{"6001"};
        QTest::newRow("letter case ignored") << f([](auto &x) { x.party = "o'neil"; }) << QStringList{"6001"};
        QTest::newRow("all together") << f([](auto &x) {
            x.party = "钢";
            x.approval = DocFlag::NotApproved;
            x.debtOnly = true;
            x.dates = std::pair{QDate(2024, 3, 5), QDate(2024, 3, 5)};
        }) << QStringList{"5001"};
        QTest::newRow("nothing matches") << f([](auto &x) { x.number = "XS"; }) << QStringList{};
    }

    void conditions()
    {
        QFETCH(DocumentListFilter, filter);
        QFETCH(QStringList, expected);
        TestBook book;
        addDocuments(book.db());
        QCOMPARE(numbers(DocumentListQuery(book.db(), purchase()).rows(filter)), expected);
    }

    void sumsFollowTheConditions()
    {
        TestBook book;
        addDocuments(book.db());
        DocumentListQuery q(book.db(), purchase());
        DocumentListFilter debt;
        debt.debtOnly = true;
        // Documents 2, 4 and 6.
        QCOMPARE(sumsText(q.sums(debt)), "12 1200 1080 1072.5 7.5");
        DocumentListFilter none;
        none.number = "XS";
        QCOMPARE(sumsText(q.sums(none)), "0 0 0 0 0");
    }
};

MARVODA_TEST(TestDocumentListQuery)
#include "tst_document_list_query.moc"
