#include "admin/operation_log_query.h"

#include "app/data/sql_filter.h"

namespace OperationLogQuery {

namespace {

QStringList distinct(Database &db, const char *column)
{
    QStringList out;
    QSqlQuery q = db.exec(QStringLiteral("SELECT DISTINCT %1 FROM czrz WHERE %1 <> '' ORDER BY %1").arg(QLatin1String(column)));
    while (q.next()) out << q.value(0).toString();
    return out;
}

} // namespace

QSqlQuery rows(Database &db, const LogQuery &q)
{
    // The time is stored as "yyyy-MM-dd HH:mm:ss", so days compare as text.
    SqlFilter f(db);
    f.add(QStringLiteral("sj >= ?"), {q.from.toString(Qt::ISODate)});
    f.add(QStringLiteral("sj < ?"), {q.to.addDays(1).toString(Qt::ISODate)});
    if (!q.operatorName.isEmpty()) f.equals(QStringLiteral("czy"), q.operatorName);
    if (!q.action.isEmpty()) f.equals(QStringLiteral("cz"), q.action);
    return db.exec(QStringLiteral("SELECT sj, czy, cz, dh, nr FROM czrz") + f.where() + QStringLiteral(" ORDER BY sj, id"),
                   f.values());
}

QStringList operators(Database &db) { return distinct(db, "czy"); }
QStringList actions(Database &db) { return distinct(db, "cz"); }

} // namespace OperationLogQuery
