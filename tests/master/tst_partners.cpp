#include "master/employee_book.h"
#include "master/partner_book.h"
#include "test_book.h"
#include "test_main.h"

#include <QSqlQuery>
#include <QTest>

namespace {

PartnerRecord partner(const QString &name, const QString &contact = {}, const QString &phone = {},
                      const QString &address = {})
{
    PartnerRecord r;
    r.mc = name;
    r.lxr = contact;
    r.lxdh = phone;
    r.lxdz = address;
    return r;
}

EmployeeRecord employee(const QString &name, const QString &sex = QStringLiteral("男"), const QString &dept = {},
                        const QString &phone = {})
{
    EmployeeRecord r;
    r.xm = name;
    r.xb = sex;
    r.bm = dept;
    r.dh = phone;
    return r;
}

QStringList names(QSqlQuery q, const QString &column = QStringLiteral("mc"))
{
    QStringList out;
    while (q.next()) out << q.value(column).toString();
    return out;
}

int rows(Database &db, const QString &table)
{
    QSqlQuery q = db.exec("SELECT COUNT(*) FROM " + table);
    q.next();
    return q.value(0).toInt();
}

} // namespace

Q_DECLARE_METATYPE(PartnerKind)

class TestPartners : public QObject {
    Q_OBJECT
private slots:
    void supplierAndCustomerMayShareAName()
    {
        TestBook b;
        QVERIFY(!PartnerBook(b.db(), PartnerKind::Supplier).add(partner("华新水泥")));
        QVERIFY(!PartnerBook(b.db(), PartnerKind::Customer).add(partner("华新水泥")));
        QCOMPARE(rows(b.db(), "ghs"), 1);
        QCOMPARE(rows(b.db(), "kh"), 1);
    }

    void addRules_data()
    {
        QTest::addColumn<PartnerKind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");   // empty: accepted
        for (PartnerKind k : {PartnerKind::Supplier, PartnerKind::Customer}) {
            const PartnerConfig &c = PartnerConfig::of(k);
            const QByteArray t = c.table.toLatin1();
            QTest::newRow(t + " same name") << k << "华新水泥" << c.duplicateMessage;
            QTest::newRow(t + " same name with blanks") << k << "  华新水泥 " << c.duplicateMessage;
            QTest::newRow(t + " blank name") << k << " \t " << "名称不可为空！";
            QTest::newRow(t + " other name") << k << "华新水泥二厂" << QString();
            QTest::newRow(t + " quote in name") << k << "O'Neil 建材" << QString();
        }
    }
    void addRules()
    {
        QFETCH(PartnerKind, kind);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        TestBook b;
        PartnerBook book(b.db(), kind);
        const PartnerConfig &c = book.config();
        QVERIFY(!book.add(partner("华新水泥")));

        qint64 id = 0;
        const auto refused = book.add(partner(typed, " 张三 "), &id);
        if (message.isEmpty()) {
            QVERIFY(!refused);
            const auto stored = book.find(id);
            QVERIFY(stored);
            QCOMPARE(stored->mc, typed.trimmed());
            QCOMPARE(stored->lxr, QString("张三"));
            QCOMPARE(rows(b.db(), book.config().table), 2);
        } else {
            QVERIFY(refused);
            QCOMPARE(refused->message, message);
            QCOMPARE(refused->field, QString("mc"));
            // A blank name is missing input ("提示"); a taken one is a refusal ("警告").
            QCOMPARE(refused->kind, message == c.duplicateMessage ? Refusal::Refused : Refusal::Missing);
            QCOMPARE(rows(b.db(), book.config().table), 1);
        }
    }

    void editMakesNoUniquenessTest()
    {
        // Only a new name is tested; editing a row to another's name is accepted, as the
        // book has always allowed.
        TestBook b;
        PartnerBook book(b.db(), PartnerKind::Supplier);
        qint64 a = 0, c = 0;
        QVERIFY(!book.add(partner("甲厂"), &a));
        QVERIFY(!book.add(partner("乙厂"), &c));

        PartnerRecord r = *book.find(a);
        r.lxdh = " 0571-1234 ";
        QVERIFY(!book.update(r));
        QCOMPARE(book.find(a)->lxdh, QString("0571-1234"));

        r.mc = "乙厂";
        QVERIFY(!book.update(r));
        QCOMPARE(book.find(a)->mc, QString("乙厂"));
        QCOMPARE(book.find(c)->mc, QString("乙厂"));
        QVERIFY(book.add(partner("乙厂")));   // and a third one is still refused
    }

    void updateOfAVanishedRowFails()
    {
        TestBook b;
        PartnerBook book(b.db(), PartnerKind::Customer);
        PartnerRecord r = partner("不存在");
        r.id = 999;
        QVERIFY_THROWS_EXCEPTION(DbError, book.update(r));
    }

    void queryBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("only the name") << "建材" << "" << "" << "" << QStringList{"东方建材", "西城建材", "南门建材"};
        QTest::newRow("blank boxes are ignored") << "建材" << "  " << " " << "\t" << QStringList{"东方建材", "西城建材", "南门建材"};
        QTest::newRow("everything empty") << "" << "" << "" << "" << QStringList{"东方建材", "西城建材", "北站五金", "南门建材"};
        QTest::newRow("contact") << "" << "张" << "" << "" << QStringList{"东方建材"};
        QTest::newRow("phone and address") << "" << "" << "0571" << "杭州" << QStringList{"东方建材", "北站五金"};
        QTest::newRow("letter case ignored") << "" << "li" << "" << "" << QStringList{"西城建材"};
        QTest::newRow("nothing") << "建材" << "" << "" << "上海" << QStringList{};
    }
    void queryBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, contact);
        QFETCH(QString, phone);
        QFETCH(QString, address);
        QFETCH(QStringList, found);
        TestBook b;
        PartnerBook book(b.db(), PartnerKind::Supplier);
        QVERIFY(!book.add(partner("东方建材", "张三", "0571-8888", "杭州东路")));
        QVERIFY(!book.add(partner("西城建材", "LI Si")));
        QVERIFY(!book.add(partner("北站五金", "王五", "0571-6666", "杭州北站")));
        // A row taken in by the spreadsheet import may leave its columns NULL rather than empty.
        b.db().exec("INSERT INTO ghs (mc) VALUES ('南门建材')");
        b.db().exec("INSERT INTO ghs (lxr) VALUES ('无名')");
        b.db().exec("INSERT INTO ghs (mc, lxr) VALUES ('', '空名')");   // an empty name never matches either
        QCOMPARE(names(book.query({name, contact, phone, address})), found);
    }

    void typedSearchCharactersAreOrdinary_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("quote") << "'" << QStringList{"O'Neil"};
        QTest::newRow("quote pair") << "''" << QStringList{};
        QTest::newRow("percent") << "%" << QStringList{"50%水泥"};
        QTest::newRow("underscore") << "a_b" << QStringList{"a_b钢材"};
        QTest::newRow("backslash") << "\\" << QStringList{"C:\\五金"};
        QTest::newRow("letters without case") << "O'NEIL" << QStringList{"O'Neil"};
        QTest::newRow("empty finds all") << "" << QStringList{"O'Neil", "50%水泥", "500水泥", "a_b钢材", "axb钢材", "C:\\五金"};
    }
    void typedSearchCharactersAreOrdinary()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        TestBook b;
        const QStringList all = {"O'Neil", "50%水泥", "500水泥", "a_b钢材", "axb钢材", "C:\\五金"};
        PartnerBook customers(b.db(), PartnerKind::Customer);
        EmployeeBook staff(b.db());
        for (const QString &n : all) {
            QVERIFY(!customers.add(partner(n, n, n, n)));
            QVERIFY(!staff.add(employee(n, "女", n, n)));
        }
        QCOMPARE(names(customers.search(typed)), found);
        QCOMPARE(names(customers.query({typed, {}, {}, {}})), found);
        if (!typed.isEmpty()) {
            QCOMPARE(names(customers.query({{}, typed, {}, {}})), found);
            QCOMPARE(names(customers.query({{}, {}, {}, typed})), found);
            QCOMPARE(names(staff.query({{}, EmployeeFilter::Any, typed, {}}), "xm"), found);
        }
        QCOMPARE(names(staff.search(typed), "xm"), found);
        QCOMPARE(names(staff.query({typed, EmployeeFilter::Female, {}, {}}), "xm"), found);
    }

    void deleteTakesOnlyThatRow()
    {
        TestBook b;
        PartnerBook book(b.db(), PartnerKind::Customer);
        qint64 a = 0;
        QVERIFY(!book.add(partner("甲"), &a));
        QVERIFY(!book.add(partner("乙")));
        book.remove(a);
        QCOMPARE(names(book.all()), QStringList{"乙"});
    }

    void employeeRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        QTest::newRow("no name") << "  " << "男" << "姓名不可为空！" << "xm";
        QTest::newRow("no name, no sex: name first") << "" << "" << "姓名不可为空！" << "xm";
        QTest::newRow("no sex") << "李四" << " " << "性别不可为空！" << "xb";
        QTest::newRow("same name") << " 张三 " << "女" << "员工姓名不可重复！" << "xm";
        QTest::newRow("typed sex accepted") << "李四" << "未知" << "" << "";
    }
    void employeeRules()
    {
        QFETCH(QString, name);
        QFETCH(QString, sex);
        QFETCH(QString, message);
        QFETCH(QString, field);
        TestBook b;
        EmployeeBook staff(b.db());
        QVERIFY(!staff.add(employee("张三")));
        const auto refused = staff.add(employee(name, sex));
        QCOMPARE(refused ? refused->message : QString(), message);
        QCOMPARE(refused ? refused->field : QString(), field);
        QCOMPARE(rows(b.db(), "yg"), message.isEmpty() ? 2 : 1);
    }

    void employeeSalaryKeptToTheCent()
    {
        TestBook b;
        EmployeeBook staff(b.db());
        EmployeeRecord r = employee("王五");
        r.jbgz = *Decimal::parse(u"3500.456");
        r.sfz = " 330102199001011234 ";
        qint64 id = 0;
        QVERIFY(!staff.add(r, &id));
        EmployeeRecord stored = *staff.find(id);
        QCOMPARE(stored.jbgz.toFixed2(), QString("3500.46"));
        QCOMPARE(stored.sfz, QString("330102199001011234"));

        stored.jbgz = *Decimal::parse(u"2.125");
        stored.xm = "王五";   // its own name: no conflict with itself
        QVERIFY(!staff.update(stored));
        QCOMPARE(staff.find(id)->jbgz.toFixed2(), QString("2.12"));
    }

    void employeeQueryBySex_data()
    {
        QTest::addColumn<int>("sex");
        QTest::addColumn<QString>("dept");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("all") << int(EmployeeFilter::Any) << "" << QStringList{"张三", "李梅", "王五"};
        QTest::newRow("men") << int(EmployeeFilter::Male) << "" << QStringList{"张三", "王五"};
        QTest::newRow("women") << int(EmployeeFilter::Female) << "" << QStringList{"李梅"};
        QTest::newRow("men in sales") << int(EmployeeFilter::Male) << "销售" << QStringList{"张三"};
    }
    void employeeQueryBySex()
    {
        QFETCH(int, sex);
        QFETCH(QString, dept);
        QFETCH(QStringList, found);
        TestBook b;
        EmployeeBook staff(b.db());
        QVERIFY(!staff.add(employee("张三", "男", "销售部")));
        QVERIFY(!staff.add(employee("李梅", "女", "销售部")));
        QVERIFY(!staff.add(employee("王五", "男", "仓库")));
        QCOMPARE(names(staff.query({"", EmployeeFilter::Sex(sex), dept, ""}), "xm"), found);
    }

    void employeeWithoutNameIsNotOffered()
    {
        TestBook b;
        EmployeeBook staff(b.db());
        QVERIFY(!staff.add(employee("张三")));
        b.db().exec("INSERT INTO yg (xb) VALUES ('男')");
        b.db().exec("INSERT INTO yg (xm, xb) VALUES ('', '女')");
        QCOMPARE(names(staff.search(""), "xm"), QStringList{"张三"});
        QCOMPARE(rows(b.db(), "yg"), 3);
    }
};

MARVODA_TEST(TestPartners)
#include "tst_partners.moc"
