#include "admin/operator_book.h"
#include "app/data/schema.h"
#include "app/password.h"
#include "app/session.h"
#include "test_book.h"
#include "test_main.h"

#include <QSqlQuery>
#include <QTest>

namespace {

QString storedPassword(Database &db, const QString &name)
{
    QSqlQuery q = db.exec("SELECT yhmm FROM yhsz WHERE yhmc = ?", {name});
    return q.next() ? q.value(0).toString() : QString();
}

QStringList logged(Database &db)
{
    QStringList out;
    QSqlQuery q = db.exec("SELECT cz, nr FROM czrz ORDER BY id");
    while (q.next()) out << q.value(0).toString() + "|" + q.value(1).toString();
    return out;
}

int permissionRows(Database &db, const QString &name)
{
    QSqlQuery q = db.exec("SELECT COUNT(*) FROM quanxian WHERE yh = ?", {name});
    q.next();
    return q.value(0).toInt();
}

QSet<QString> setOf(const QStringList &l) { return QSet<QString>(l.begin(), l.end()); }

} // namespace

class TestOperators : public QObject {
    Q_OBJECT
private slots:
    void init() { session::current().stYhm1 = "系统管理员"; }

    void add_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QString>("storedPassword");
        QTest::newRow("blank name") << "　 " << "a" << "a" << OperatorBook::EmptyNameMessage << "" << "";
        QTest::newRow("passwords differ") << "李四" << "ab" << "ac" << OperatorBook::PasswordsDifferMessage << "" << "";
        QTest::newRow("differs only in case") << "李四" << "ab" << "AB" << OperatorBook::PasswordsDifferMessage << "" << "";
        QTest::newRow("same name with blanks is a duplicate")
            << " 张三 " << "x" << "x" << OperatorBook::DuplicateNameMessage << "" << "";
        QTest::newRow("name and passwords trimmed") << "  李四 " << " ab " << "ab" << "" << "李四" << "ab";
        QTest::newRow("empty password") << "王五" << "" << "  " << "" << "王五" << "";
        QTest::newRow("quote in the name") << "O'Neil" << "x'y" << "x'y" << "" << "O'Neil" << "x'y";
    }
    void add()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        QFETCH(QString, refusal);
        QFETCH(QString, storedName);
        QFETCH(QString, storedPassword);
        TestBook b;
        OperatorBook ops(b.db());
        QVERIFY(!ops.add("张三", "", ""));
        const QStringList before = ops.names();
        const std::optional<Refusal> r = ops.add(name, password, confirm);
        if (!refusal.isEmpty()) {
            QVERIFY(r);
            QCOMPARE(r->message, refusal);
            QCOMPARE(r->kind, refusal == OperatorBook::DuplicateNameMessage ? Refusal::Refused : Refusal::Missing);
            QCOMPARE(ops.names(), before);
            return;
        }
        QVERIFY(!r);
        QCOMPARE(ops.names(), before + QStringList{storedName});
        const QString stored = ::storedPassword(b.db(), storedName);
        QVERIFY2(stored.startsWith("$argon2id$"), "the password is never kept as typed");
        QVERIFY(verifyPassword(stored, storedPassword));
        QCOMPARE(session::login(b.db(), storedName, storedPassword), session::LoginResult::Ok);
        QVERIFY(ops.permissions(storedName).isEmpty());
        QCOMPARE(logged(b.db()).last(), "新增操作员|" + storedName);
    }

    void changePassword_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typedOld");
        QTest::addColumn<QString>("typedNew");
        QTest::addColumn<int>("result");
        using C = OperatorBook::PasswordChange;
        QTest::newRow("old password with a trailing blank") << "张三" << "old pw " << "n" << int(C::WrongOldPassword);
        QTest::newRow("old password in other case") << "张三" << "OLD PW" << "n" << int(C::WrongOldPassword);
        QTest::newRow("new password kept with its blanks") << "张三" << "old pw" << " new " << int(C::Changed);
        QTest::newRow("empty new password") << "张三" << "old pw" << "" << int(C::Changed);
        QTest::newRow("operator gone") << "赵六" << "old pw" << "n" << int(C::NoOperator);
    }
    void changePassword()
    {
        QFETCH(QString, name);
        QFETCH(QString, typedOld);
        QFETCH(QString, typedNew);
        QFETCH(int, result);
        TestBook b;
        OperatorBook ops(b.db());
        QVERIFY(!ops.add("张三", "old pw", "old pw"));
        QCOMPARE(int(ops.changePassword(name, typedOld, typedNew)), result);
        const QString stored = storedPassword(b.db(), "张三");
        QVERIFY(stored.startsWith("$argon2id$"));
        if (result == int(OperatorBook::PasswordChange::Changed)) {
            QVERIFY(verifyPassword(stored, typedNew));
            if (!typedNew.isEmpty()) QVERIFY(!verifyPassword(stored, typedNew.trimmed()));
            QCOMPARE(logged(b.db()).last(), QString("修改密码|张三"));
        } else {
            QVERIFY(verifyPassword(stored, "old pw"));
        }
    }

    void oldPlainPasswordIsCheckedAndReplacedByAHash()
    {
        TestBook b;
        b.db().insert("yhsz", {{"yhmc", "老店员"}, {"yhmm", "123"}});
        OperatorBook ops(b.db());
        QCOMPARE(ops.unlock("老店员", "123"), OperatorBook::Unlock::Unlocked);
        QCOMPARE(ops.changePassword("老店员", "123", "456"), OperatorBook::PasswordChange::Changed);
        QVERIFY(storedPassword(b.db(), "老店员").startsWith("$argon2id$"));
    }

    void deletingTakesThePermissionsAlong()
    {
        TestBook b;
        OperatorBook ops(b.db());
        QVERIFY(!ops.add("张三", "", ""));
        QVERIFY(!ops.grant("张三", {"零售开单", "销售查询"}));
        QVERIFY(!ops.remove("张三"));
        QVERIFY(!ops.names().contains("张三"));
        QCOMPARE(permissionRows(b.db(), "张三"), 0);
        QCOMPARE(logged(b.db()).last(), QString("删除操作员|张三"));

        // A new operator given the old name starts with nothing.
        QVERIFY(!ops.add("张三", "", ""));
        QVERIFY(ops.permissions("张三").isEmpty());
        QCOMPARE(session::grantedPermissions(b.db(), "张三"), QSet<QString>{});

        const std::optional<Refusal> r = ops.remove("系统管理员");
        QVERIFY(r);
        QCOMPARE(r->message, QString("不可删除系统管理员！"));
        QCOMPARE(r->kind, Refusal::Refused);
        QVERIFY(ops.names().contains("系统管理员"));
        QCOMPARE(permissionRows(b.db(), "系统管理员"), 12);
    }

    void permissionsOfANameNoLongerListedShowNothing()
    {
        // Rows an older book kept after deleting the operator.
        TestBook b;
        b.db().insert("quanxian", {{"yh", "离职店员"}, {"qx", "零售开单"}});
        QVERIFY(OperatorBook(b.db()).permissions("离职店员").isEmpty());
    }

    void grant_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QStringList>("held");
        QTest::newRow("no operator chosen") << " " << QStringList{"零售开单"} << "操作员不可为空！" << QStringList{"采购开单"};
        QTest::newRow("built-in operator") << "系统管理员" << QStringList{} << "不可更改系统管理员权限！"
                                           << QStringList{"采购开单"};
        QTest::newRow("replaces what was held") << "张三" << QStringList{"显示库存价格", "零售开单"} << ""
                                                << QStringList{"零售开单", "显示库存价格"};
        QTest::newRow("all boxes clear removes everything") << "张三" << QStringList{} << "" << QStringList{};
        QTest::newRow("all twelve") << "张三" << schema::permissionNames() << "" << schema::permissionNames();
    }
    void grant()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, ticked);
        QFETCH(QString, refusal);
        QFETCH(QStringList, held);
        TestBook b;
        OperatorBook ops(b.db());
        QVERIFY(!ops.add("张三", "", ""));
        QVERIFY(!ops.grant("张三", {"采购开单"}));
        const std::optional<Refusal> r = ops.grant(name, ticked);
        QCOMPARE(r ? r->message : QString(), refusal);
        QCOMPARE(permissionRows(b.db(), "系统管理员"), 12);
        if (r) {
            QCOMPARE(ops.permissions("张三"), setOf(held));
            return;
        }
        QCOMPARE(ops.permissions(name), setOf(held));
        QCOMPARE(permissionRows(b.db(), name), held.size());
        QVERIFY(logged(b.db()).last().startsWith("授权|" + name));
    }

    void aFailedGrantKeepsWhatWasHeld()
    {
        if (TestBook::onPostgres()) QSKIP("the refusing trigger is written for the file book");
        TestBook b;
        OperatorBook ops(b.db());
        QVERIFY(!ops.add("张三", "", ""));
        QVERIFY(!ops.grant("张三", {"采购开单", "采购查询"}));
        const int logRows = logged(b.db()).size();
        b.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON quanxian WHEN NEW.qx = '财务管理' "
                    "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        QVERIFY_THROWS_EXCEPTION(DbError, ops.grant("张三", {"零售开单", "财务管理"}));
        QCOMPARE(ops.permissions("张三"), (QSet<QString>{"采购开单", "采购查询"}));
        QCOMPARE(logged(b.db()).size(), logRows);
    }

    void unlock_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("result");
        using U = OperatorBook::Unlock;
        QTest::newRow("right") << "张三" << "Pw 1" << int(U::Unlocked);
        QTest::newRow("other case") << "张三" << "pw 1" << int(U::WrongPassword);
        QTest::newRow("with a blank more") << "张三" << "Pw 1 " << int(U::WrongPassword);
        QTest::newRow("empty") << "张三" << "" << int(U::WrongPassword);
        QTest::newRow("operator no longer there") << "李四" << "Pw 1" << int(U::NoOperator);
    }
    void unlock()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(int, result);
        TestBook b;
        OperatorBook ops(b.db());
        QVERIFY(!ops.add("张三", "Pw 1", "Pw 1"));
        QCOMPARE(int(ops.unlock(name, typed)), result);
    }
};

MARVODA_TEST(TestOperators)
#include "tst_operators.moc"
