#include "documents/document_list_query.h"

#include "app/data/sql_filter.h"

namespace {

SqlFilter filterOf(const Database &db, const DocumentKind &kind, const DocumentListFilter &f)
{
    // An empty box never narrows the list, so a document without a handler still shows when
    // the operator asks for everything.
    SqlFilter s(db);
    s.containsIfTyped(f.partyColumn.isEmpty() ? kind.partyColumn : f.partyColumn, f.party)
        .containsIfTyped(QStringLiteral("jsr"), f.handler)
        .containsIfTyped(QStringLiteral("dh"), f.number);
    if (!f.approval.isEmpty()) s.equals(QStringLiteral("shbj"), f.approval);
    if (f.dates)
        s.add(QStringLiteral("rq >= ? AND rq <= ?"),
              {f.dates->first.toString(Qt::ISODate), f.dates->second.toString(Qt::ISODate)});
    if (f.debtOnly) s.add(QStringLiteral("qk <> 0"));
    return s;
}

} // namespace

DocumentListQuery::DocumentListQuery(Database &db, const DocumentKind &kind) : db_(db), kind_(kind) {}

QSqlQuery DocumentListQuery::select(const QString &where, const QVariantList &values, const QString &order)
{
    return db_.exec(QStringLiteral("SELECT * FROM %1%2 ORDER BY %3").arg(kind_.headerTable, where, order), values);
}

DocumentListSums DocumentListQuery::sumsWhere(const QString &where, const QVariantList &values)
{
    // Stock documents carry quantities and values only.
    const QString money = kind_.hasMoney()
                              ? QStringLiteral(", SUM(%1), SUM(%2), SUM(qk)").arg(kind_.payableColumn, kind_.paidColumn)
                              : QString();
    QSqlQuery q = db_.exec(QStringLiteral("SELECT SUM(hjsl), SUM(hjje)%1 FROM %2%3").arg(money, kind_.headerTable, where),
                           values);
    DocumentListSums s;
    if (q.next()) {
        const auto at = [&q](int i) { return Decimal::fromRaw(q.value(i).toLongLong()); };
        s = {at(0), at(1), at(2), at(3), at(4)};
    }
    return s;
}

QSqlQuery DocumentListQuery::heldRows()
{
    return select(QStringLiteral(" WHERE shbj = ?"), {DocFlag::NotApproved}, QStringLiteral("dh"));
}

DocumentListSums DocumentListQuery::heldSums()
{
    return sumsWhere(QStringLiteral(" WHERE shbj = ?"), {DocFlag::NotApproved});
}

QSqlQuery DocumentListQuery::rows(const DocumentListFilter &f)
{
    const SqlFilter s = filterOf(db_, kind_, f);
    return select(s.where(), s.values(), QStringLiteral("id"));
}

DocumentListSums DocumentListQuery::sums(const DocumentListFilter &f)
{
    const SqlFilter s = filterOf(db_, kind_, f);
    return sumsWhere(s.where(), s.values());
}
