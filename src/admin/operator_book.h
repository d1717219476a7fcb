// The operators who log in, their passwords and their permissions.
#pragma once

#include "app/data/database.h"
#include "app/refusal.h"

#include <QSet>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>

class OperatorBook {
public:
    explicit OperatorBook(Database &db) : db_(db) {}

    // Operator names in the order the book keeps them.
    QStringList names();
    // The operator list: id and yhmc, never the password.
    QSqlQuery list();

    // "新增操作员": the name and both passwords are trimmed; the two passwords must agree and
    // the name must be new. The password is kept as its hash; no permission is granted.
    std::optional<Refusal> add(const QString &name, const QString &password, const QString &confirm);

    enum class PasswordChange { NoOperator, WrongOldPassword, Changed };
    // "修改操作员" and "更改我的密码": the old password is checked exactly as typed and the new
    // one is kept as typed (blanks and all, even empty).
    PasswordChange changePassword(const QString &name, const QString &oldPassword, const QString &newPassword);

    // The built-in operator can never be deleted; asked before the confirmation.
    static std::optional<Refusal> checkRemovable(const QString &name);
    // Removes the operator and his permissions together, so a later operator of the same name
    // starts without them. The built-in operator is refused.
    std::optional<Refusal> remove(const QString &name);

    // The permissions an operator listed in yhsz holds; none for a name no longer there.
    QSet<QString> permissions(const QString &name);
    // "授权": the ticked permissions replace all the operator held, in one transaction.
    std::optional<Refusal> grant(const QString &name, const QStringList &ticked);

    enum class Unlock { NoOperator, WrongPassword, Unlocked };
    // The lock window: the logged-in operator's password, compared exactly.
    Unlock unlock(const QString &name, const QString &typed);

    static inline const QString EmptyNameMessage = QStringLiteral("用户名称不可为空！");
    static inline const QString PasswordsDifferMessage = QStringLiteral("密码前后不一致！");
    static inline const QString DuplicateNameMessage = QStringLiteral("用户名称不可重复！");
    static inline const QString WrongOldPasswordMessage = QStringLiteral("原密码录入错误！");
    static inline const QString ModifiedMessage = QStringLiteral("修改成功！");
    static inline const QString MyPasswordChangedMessage = QStringLiteral("密码更改成功！");
    static inline const QString DeleteQuestion = QStringLiteral("确实要删除此操作员吗？");
    static inline const QString BuiltInUndeletableMessage = QStringLiteral("不可删除系统管理员！");
    static inline const QString EmptyOperatorMessage = QStringLiteral("操作员不可为空！");
    static inline const QString BuiltInPermissionsMessage = QStringLiteral("不可更改系统管理员权限！");
    static inline const QString GrantedMessage = QStringLiteral("权限设置成功！");
    static inline const QString WrongUnlockMessage = QStringLiteral("密码错误，不可解锁！");

private:
    Database &db_;
};
