#include "admin/operator_book.h"

#include "app/data/operation_log.h"
#include "app/data/schema.h"
#include "app/password.h"

#include <QSqlQuery>

QStringList OperatorBook::names()
{
    QStringList out;
    QSqlQuery q = db_.exec(QStringLiteral("SELECT yhmc FROM yhsz ORDER BY id"));
    while (q.next()) out << q.value(0).toString();
    return out;
}

QSqlQuery OperatorBook::list() { return db_.exec(QStringLiteral("SELECT id, yhmc FROM yhsz ORDER BY id")); }

std::optional<Refusal> OperatorBook::add(const QString &name, const QString &password, const QString &confirm)
{
    const QString yhmc = name.trimmed();
    if (yhmc.isEmpty()) return Refusal{EmptyNameMessage, QStringLiteral("yhmc"), Refusal::Missing};
    if (password.trimmed() != confirm.trimmed())
        return Refusal{PasswordsDifferMessage, QStringLiteral("confirm"), Refusal::Missing};
    if (db_.exists(QStringLiteral("SELECT 1 FROM yhsz WHERE yhmc = ?"), {yhmc}))
        return Refusal{DuplicateNameMessage, QStringLiteral("yhmc"), Refusal::Refused};
    Transaction tx(db_);
    db_.insert(QStringLiteral("yhsz"), {{"yhmc", yhmc}, {"yhmm", hashPassword(password.trimmed())}});
    OperationLog::write(db_, QStringLiteral("新增操作员"), QString(), yhmc);
    tx.commit();
    return std::nullopt;
}

OperatorBook::PasswordChange OperatorBook::changePassword(const QString &name, const QString &oldPassword,
                                                          const QString &newPassword)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT id, yhmm FROM yhsz WHERE yhmc = ?"), {name});
    if (!q.next()) return PasswordChange::NoOperator;
    const qint64 id = q.value(0).toLongLong();
    if (!verifyPassword(q.value(1).toString(), oldPassword)) return PasswordChange::WrongOldPassword;
    Transaction tx(db_);
    db_.update(QStringLiteral("yhsz"), id, {{"yhmm", hashPassword(newPassword)}});
    OperationLog::write(db_, QStringLiteral("修改密码"), QString(), name);
    tx.commit();
    return PasswordChange::Changed;
}

std::optional<Refusal> OperatorBook::checkRemovable(const QString &name)
{
    if (name == schema::builtInOperator())
        return Refusal{BuiltInUndeletableMessage, QStringLiteral("yhmc"), Refusal::Refused};
    return std::nullopt;
}

std::optional<Refusal> OperatorBook::remove(const QString &name)
{
    if (auto refused = checkRemovable(name)) return refused;
    Transaction tx(db_);
    db_.exec(QStringLiteral("DELETE FROM yhsz WHERE yhmc = ?"), {name});
    db_.exec(QStringLiteral("DELETE FROM quanxian WHERE yh = ?"), {name});
    OperationLog::write(db_, QStringLiteral("删除操作员"), QString(), name);
    tx.commit();
    return std::nullopt;
}

QSet<QString> OperatorBook::permissions(const QString &name)
{
    // Rows left behind by an operator deleted in an older book show nothing.
    QSet<QString> held;
    QSqlQuery q = db_.exec(QStringLiteral("SELECT q.qx FROM quanxian q JOIN yhsz y ON y.yhmc = q.yh WHERE y.yhmc = ?"),
                           {name});
    while (q.next()) held.insert(q.value(0).toString());
    return held;
}

std::optional<Refusal> OperatorBook::grant(const QString &name, const QStringList &ticked)
{
    if (name.trimmed().isEmpty()) return Refusal{EmptyOperatorMessage, QStringLiteral("yh"), Refusal::Missing};
    if (name == schema::builtInOperator())
        return Refusal{BuiltInPermissionsMessage, QStringLiteral("yh"), Refusal::Refused};
    Transaction tx(db_);
    db_.exec(QStringLiteral("DELETE FROM quanxian WHERE yh = ?"), {name});
    QStringList granted;
    for (const QString &qx : schema::permissionNames()) {
        if (!ticked.contains(qx)) continue;
        db_.insert(QStringLiteral("quanxian"), {{"yh", name}, {"qx", qx}});
        granted << qx;
    }
    OperationLog::write(db_, QStringLiteral("授权"), QString(), name + QStringLiteral("：") + granted.join(u'、'));
    tx.commit();
    return std::nullopt;
}

OperatorBook::Unlock OperatorBook::unlock(const QString &name, const QString &typed)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT yhmm FROM yhsz WHERE yhmc = ?"), {name});
    if (!q.next()) return Unlock::NoOperator;
    return verifyPassword(q.value(0).toString(), typed) ? Unlock::Unlocked : Unlock::WrongPassword;
}
