#include "documents/entry_queries.h"

#include "app/data/sql_filter.h"

namespace EntryQueries {

std::optional<GoodsRecord> goodsByCode(Database &db, const QString &txm, const std::optional<QString> &ck)
{
    SqlFilter f(db);
    f.equals(QStringLiteral("txm"), txm);
    if (ck) f.equals(QStringLiteral("ck"), *ck);
    // Two rows are enough to know the code is ambiguous.
    QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM sp") + f.where() + QStringLiteral(" ORDER BY id LIMIT 2"), f.values());
    if (!q.next()) return std::nullopt;
    GoodsRecord r = GoodsRecord::fromQuery(q);
    if (q.next()) return std::nullopt;
    return r;
}

QSqlQuery heldDocuments(Database &db, const DocumentKind &kind, const HeldFilter &filter)
{
    SqlFilter f(db);
    const QString partyColumn = filter.partyColumn.isEmpty() ? kind.partyColumn : filter.partyColumn;
    if (!partyColumn.isEmpty()) f.containsIfTyped(partyColumn, filter.party);
    if (!filter.from.isEmpty()) f.add(QStringLiteral("rq >= ?"), {filter.from});
    if (!filter.to.isEmpty()) f.add(QStringLiteral("rq <= ?"), {filter.to});
    if (!filter.warehouseColumn.isEmpty()) f.equals(filter.warehouseColumn, filter.warehouse);
    f.equals(QStringLiteral("shbj"), DocFlag::NotApproved);
    f.add(QStringLiteral("dh LIKE ?"), {kind.prefix + QLatin1Char('%')});
    return db.exec(QStringLiteral("SELECT * FROM ") + kind.headerTable + f.where() + QStringLiteral(" ORDER BY id"),
                   f.values());
}

} // namespace EntryQueries
