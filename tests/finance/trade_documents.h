// Approved, owed trade documents as the document approval leaves them: header rows only.
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"
#include "finance/settlement.h"

#include <QSqlQuery>

namespace trade_documents {

inline Decimal money(const char *text) { return Decimal::parseOr0(QString::fromLatin1(text)); }

// A header with `payable` and `paid` and the debt between them.
inline void add(Database &db, SettlementKind side, const QString &dh, const QString &partner, Decimal payable,
                Decimal paid = {}, bool approved = true, const QString &rq = QStringLiteral("2026-03-01"))
{
    const SettlementConfig &c = SettlementConfig::of(side);
    db.insert(c.documents, {{"dh", dh},
                            {"rq", rq},
                            {"kdrq", rq},
                            {c.partner, partner},
                            {"jsr", QStringLiteral("张三")},
                            {c.payable, payable.raw()},
                            {c.paid, paid.raw()},
                            {"qk", (payable - paid).raw()},
                            {"shbj", approved ? QStringLiteral("已审核") : QStringLiteral("未审核")}});
}

struct Money {
    Decimal payable, paid, owed;
};

inline Money of(Database &db, SettlementKind side, const QString &dh)
{
    const SettlementConfig &c = SettlementConfig::of(side);
    QSqlQuery q = db.exec(QStringLiteral("SELECT %1, %2, qk FROM %3 WHERE dh = ?").arg(c.payable, c.paid, c.documents), {dh});
    if (!q.next()) return {};
    return {Decimal::fromRaw(q.value(0).toLongLong()), Decimal::fromRaw(q.value(1).toLongLong()),
            Decimal::fromRaw(q.value(2).toLongLong())};
}

} // namespace trade_documents
