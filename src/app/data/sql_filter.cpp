#include "app/data/sql_filter.h"

SqlFilter &SqlFilter::contains(const QString &column, const QString &typed)
{
    return add(QStringLiteral("(%1 AND %2 <> '')").arg(db_.containsCondition(column), column),
               {Database::containsPattern(typed)});
}

SqlFilter &SqlFilter::containsIfTyped(const QString &column, const QString &typed)
{
    if (typed.trimmed().isEmpty()) return *this;
    return contains(column, typed);
}

SqlFilter &SqlFilter::equals(const QString &column, const QVariant &value)
{
    return add(column + QStringLiteral(" = ?"), {value});
}

SqlFilter &SqlFilter::add(const QString &condition, const QVariantList &values)
{
    conditions_ << condition;
    values_ << values;
    return *this;
}

QString SqlFilter::where() const
{
    if (conditions_.isEmpty()) return {};
    return QStringLiteral(" WHERE ") + conditions_.join(QStringLiteral(" AND "));
}

QString SqlFilter::andWhere() const
{
    if (conditions_.isEmpty()) return {};
    return QStringLiteral(" AND ") + conditions_.join(QStringLiteral(" AND "));
}
