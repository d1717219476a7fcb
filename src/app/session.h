// Logging in, and what the logged-in operator may do.
#pragma once

#include "app/data/database.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace session {

// Operator names for the login list, in the order the book returns them.
QStringList operatorNames(Database &db);

enum class LoginResult { NoName, UnknownUser, WrongPassword, Ok };
// The refusal's message for a failed login ("请选择用户名称！", …); empty for Ok.
QString loginMessage(LoginResult r);

// Checks the chosen name (as listed) and the typed password. A plain-text password kept by an
// older book is replaced by its hash at the first successful login.
LoginResult login(Database &db, const QString &name, const QString &password);

// True while the built-in "系统管理员" still has the empty password a new book gives it: the
// login dialog shows its hint only then.
bool builtInPasswordIsEmpty(Database &db);

QSet<QString> grantedPermissions(Database &db, const QString &operatorName);

// What the main window enables for an operator, evaluated once per showing.
struct CommandStates {
    QHash<QString, bool> enabled;   // menu caption → enabled, for every permission-bound command
    QString stkcjg;                 // "显示价格" / "不显价格"
    QString stkcsc;                 // "归零" / "不归零"
};
CommandStates evaluatePermissions(const QSet<QString> &granted);

// The main window's title for a company name.
QString mainTitle(const QString &companyName);
QString companyName(Database &db);

} // namespace session

namespace session {

// The values the main window publishes for the other windows, set when it is shown.
struct Current {
    QString stYhm1;   // operator name, written as a document's maker
    QString stkcjg;   // "显示价格" / "不显价格"
    QString stkcsc;   // "归零" / "不归零"
};
Current &current();

} // namespace session
