#include "finance/payables.h"

SqlFilter PayablesBook::filter(const PayablesFilter &f) const
{
    SqlFilter s(db_);
    if (f.matchTexts) {
        s.contains(config_.partner, f.partner);
        s.contains(QStringLiteral("jsr"), f.employee);
        s.contains(QStringLiteral("dh"), f.dh);
    }
    addDateRange(s, f.dates);
    s.equals(QStringLiteral("shbj"), SettlementService::Approved);
    switch (f.direction) {
    case PayablesFilter::AnyDirection: s.add(QStringLiteral("qk <> 0")); break;
    case PayablesFilter::Owed: s.add(QStringLiteral("qk > 0")); break;
    case PayablesFilter::OwedBack: s.add(QStringLiteral("qk < 0")); break;
    }
    return s;
}

QSqlQuery PayablesBook::rows(const PayablesFilter &f)
{
    const SqlFilter s = filter(f);
    return db_.exec(QStringLiteral("SELECT id, rq, dh, %1, %2, %3, qk, jsr, bz, yhe, hjsl, hjje, shbj FROM %4%5 ORDER BY id")
                        .arg(config_.partner, config_.payable, config_.paid, config_.documents, s.where()),
                    s.values());
}

Decimal PayablesBook::total(const PayablesFilter &f)
{
    const SqlFilter s = filter(f);
    QSqlQuery q = db_.exec(QStringLiteral("SELECT SUM(qk) FROM %1%2").arg(config_.documents, s.where()), s.values());
    return Decimal::fromRaw(q.next() ? q.value(0).toLongLong() : 0);
}
