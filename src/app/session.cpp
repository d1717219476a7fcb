#include "app/session.h"

#include "app/data/schema.h"
#include "app/password.h"

#include <QChar>
#include <QSqlQuery>
#include <QVariant>

namespace session {

QStringList operatorNames(Database &db)
{
    QStringList names;
    QSqlQuery q = db.exec(QStringLiteral("SELECT yhmc FROM yhsz ORDER BY id"));
    while (q.next()) names << q.value(0).toString();
    return names;
}

QString loginMessage(LoginResult r)
{
    switch (r) {
    case LoginResult::NoName: return QStringLiteral("请选择用户名称！");
    case LoginResult::UnknownUser: return QStringLiteral("该用户不存在！");
    case LoginResult::WrongPassword: return QStringLiteral("用户密码不正确！");
    case LoginResult::Ok: break;
    }
    return {};
}

LoginResult login(Database &db, const QString &name, const QString &password)
{
    if (name.trimmed().isEmpty()) return LoginResult::NoName;
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, yhmm FROM yhsz WHERE yhmc = ?"), {name});
    if (!q.next()) return LoginResult::UnknownUser;
    const qint64 id = q.value(0).toLongLong();
    bool rehash = false;
    if (!verifyPassword(q.value(1).toString(), password, &rehash)) return LoginResult::WrongPassword;
    if (rehash) db.exec(QStringLiteral("UPDATE yhsz SET yhmm = ? WHERE id = ?"), {hashPassword(password), id});
    return LoginResult::Ok;
}

bool builtInPasswordIsEmpty(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT yhmm FROM yhsz WHERE yhmc = ?"), {schema::builtInOperator()});
    return q.next() && verifyPassword(q.value(0).toString(), QString());
}

QSet<QString> grantedPermissions(Database &db, const QString &operatorName)
{
    QSet<QString> granted;
    QSqlQuery q = db.exec(QStringLiteral("SELECT qx FROM quanxian WHERE yh = ?"), {operatorName});
    while (q.next()) granted.insert(q.value(0).toString());
    return granted;
}

CommandStates evaluatePermissions(const QSet<QString> &granted)
{
    // In the order the checks run: a command named twice takes the state of its last check,
    // so "销售单据" follows "批发开单".
    static const QList<std::pair<QString, QStringList>> checks = {
        {QStringLiteral("系统设置"), {QStringLiteral("公司信息"), QStringLiteral("操作员与权限"), QStringLiteral("操作日志"), QStringLiteral("清空数据库")}},
        {QStringLiteral("基本资料"), {QStringLiteral("商品资料"), QStringLiteral("厂商资料"), QStringLiteral("客户资料"), QStringLiteral("员工资料")}},
        {QStringLiteral("采购开单"), {QStringLiteral("采购"), QStringLiteral("采购单据")}},
        {QStringLiteral("采购查询"), {QStringLiteral("采购明细表"), QStringLiteral("采购统计表")}},
        {QStringLiteral("零售开单"), {QStringLiteral("零售"), QStringLiteral("销售单据")}},
        {QStringLiteral("批发开单"), {QStringLiteral("批发"), QStringLiteral("销售单据")}},
        {QStringLiteral("销售查询"), {QStringLiteral("销售明细表"), QStringLiteral("销售统计表"), QStringLiteral("员工提成表")}},
        {QStringLiteral("变动开单"), {QStringLiteral("库存调拨"), QStringLiteral("库存异动"), QStringLiteral("异动单据"), QStringLiteral("调拨单据")}},
        {QStringLiteral("变动查询"), {QStringLiteral("变动明细表"), QStringLiteral("变动统计表")}},
        {QStringLiteral("财务管理"), {QStringLiteral("采购应付明细表"), QStringLiteral("销售应收明细表"), QStringLiteral("采购付款明细表"),
                                 QStringLiteral("销售收款明细表"), QStringLiteral("其他收支明细表"), QStringLiteral("进销存财综合统计表")}},
    };
    CommandStates s;
    for (const auto &[permission, commands] : checks) {
        const bool on = granted.contains(permission);
        for (const QString &c : commands) s.enabled[c] = on;
    }
    s.stkcsc = granted.contains(QStringLiteral("库存归零")) ? QStringLiteral("归零") : QStringLiteral("不归零");
    s.stkcjg = granted.contains(QStringLiteral("显示库存价格")) ? QStringLiteral("显示价格") : QStringLiteral("不显价格");
    return s;
}

QString mainTitle(const QString &companyName)
{
    return QStringLiteral("QuorinMarvoda建材行业版V2011") + QChar(0x3000) + QStringLiteral("［使用单位：") + companyName +
           QStringLiteral("］");
}

QString companyName(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT mczc FROM danwei ORDER BY id"));
    if (!q.next()) throw DbError(QStringLiteral("缺少公司信息"));
    return q.value(0).toString();
}

} // namespace session

namespace session {
Current &current()
{
    static Current c;
    return c;
}
} // namespace session
