#include "app/data/schema.h"
#include "app/password.h"
#include "app/session.h"
#include "test_book.h"
#include "test_main.h"

#include <QSqlQuery>
#include <QTest>

using session::LoginResult;

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void login_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("result");
        QTest::newRow("no name chosen") << "  " << "Secret'1" << int(LoginResult::NoName);
        QTest::newRow("unknown user") << "张三" << "Secret'1" << int(LoginResult::UnknownUser);
        QTest::newRow("wrong password") << "系统管理员" << "secret" << int(LoginResult::WrongPassword);
        QTest::newRow("differs only in case") << "系统管理员" << "secret'1" << int(LoginResult::WrongPassword);
        QTest::newRow("empty password") << "系统管理员" << "" << int(LoginResult::WrongPassword);
        QTest::newRow("right, with a quote") << "系统管理员" << "Secret'1" << int(LoginResult::Ok);
        QTest::newRow("operator with a quote") << "O'Neil" << "x" << int(LoginResult::Ok);
    }
    void login()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(int, result);
        TestBook book("Secret'1");
        book.db().insert("yhsz", {{"yhmc", "O'Neil"}, {"yhmm", hashPassword("x")}});
        QCOMPARE(int(session::login(book.db(), name, password)), result);
    }

    void plainPasswordOfAnOlderBookIsHashedAtLogin()
    {
        TestBook book;
        book.db().insert("yhsz", {{"yhmc", "王五"}, {"yhmm", "abc"}});
        QCOMPARE(session::login(book.db(), "王五", "ABC"), LoginResult::WrongPassword);
        QCOMPARE(session::login(book.db(), "王五", "abc"), LoginResult::Ok);
        QSqlQuery q = book.db().exec("SELECT yhmm FROM yhsz WHERE yhmc = ?", {"王五"});
        QVERIFY(q.next());
        QVERIFY(q.value(0).toString().startsWith("$argon2id$"));
        QCOMPARE(session::login(book.db(), "王五", "abc"), LoginResult::Ok);
    }

    void emptyOperatorTableGivesEmptyList()
    {
        TestBook book;
        book.db().exec("DELETE FROM yhsz");
        QVERIFY(session::operatorNames(book.db()).isEmpty());
        QCOMPARE(session::login(book.db(), "", ""), LoginResult::NoName);
        QCOMPARE(session::loginMessage(LoginResult::NoName), QString("请选择用户名称！"));
    }

    void permissions_data()
    {
        QTest::addColumn<QStringList>("granted");
        QTest::addColumn<QStringList>("on");
        QTest::addColumn<QString>("stkcjg");
        QTest::addColumn<QString>("stkcsc");
        QTest::newRow("none") << QStringList{} << QStringList{} << "不显价格" << "不归零";
        QTest::newRow("retail only") << QStringList{"零售开单"} << QStringList{"零售"} << "不显价格" << "不归零";
        QTest::newRow("wholesale only") << QStringList{"批发开单"} << QStringList{"批发", "销售单据"} << "不显价格"
                                        << "不归零";
        QTest::newRow("all") << schema::permissionNames()
                             << QStringList{"公司信息", "操作员与权限", "操作日志", "清空数据库", "商品资料", "厂商资料", "客户资料",
                                            "员工资料", "采购", "采购单据", "采购明细表", "采购统计表", "零售", "销售单据",
                                            "批发", "销售明细表", "销售统计表", "员工提成表", "库存调拨", "库存异动",
                                            "异动单据", "调拨单据", "变动明细表", "变动统计表", "采购应付明细表",
                                            "销售应收明细表", "采购付款明细表", "销售收款明细表", "其他收支明细表",
                                            "进销存财综合统计表"}
                             << "显示价格" << "归零";
    }
    void permissions()
    {
        QFETCH(QStringList, granted);
        QFETCH(QStringList, on);
        QFETCH(QString, stkcjg);
        QFETCH(QString, stkcsc);
        TestBook book;
        book.db().insert("yhsz", {{"yhmc", "李四"}, {"yhmm", hashPassword("")}});
        for (const QString &qx : granted) book.db().insert("quanxian", {{"yh", "李四"}, {"qx", qx}});
        const auto states = session::evaluatePermissions(session::grantedPermissions(book.db(), "李四"));
        QStringList enabled;
        for (auto it = states.enabled.cbegin(); it != states.enabled.cend(); ++it)
            if (it.value()) enabled << it.key();
        enabled.sort();
        on.sort();
        QCOMPARE(enabled, on);
        QCOMPARE(states.enabled.size(), 30);
        QCOMPARE(states.stkcjg, stkcjg);
        QCOMPARE(states.stkcsc, stkcsc);
    }

    void titleWithEmptyCompanyName()
    {
        QCOMPARE(session::mainTitle(""), QString("QuorinMarvoda建材行业版V2011　［使用单位：］"));
        QCOMPARE(session::mainTitle("兴达建材"), QString("QuorinMarvoda建材行业版V2011　［使用单位：兴达建材］"));
    }
};

MARVODA_TEST(TestSession)
#include "tst_session.moc"
