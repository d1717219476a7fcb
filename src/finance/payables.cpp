#include "finance/payables.h"

const PayablesTexts &PayablesTexts::of(SettlementKind side)
{
    static const PayablesTexts payables{QStringLiteral("采购应付明细表"), QStringLiteral("欠款＜0：采购应退款（厂商欠本店的款）"),
                                        QStringLiteral("采购应付"),       QStringLiteral("采购应退"),
                                        QStringLiteral("没有单据可查阅！"), QStringLiteral("应付明细表")};
    static const PayablesTexts receivables{QStringLiteral("销售应收明细表"), QStringLiteral("欠款＜0：销售应退款（本店欠客户的款）"),
                                           QStringLiteral("销售应收"),       QStringLiteral("销售应退"),
                                           QStringLiteral("没有明细可查阅！"), QStringLiteral("应收明细表")};
    return side == SettlementKind::Payment ? payables : receivables;
}

SqlFilter PayablesBook::filter(const PayablesFilter &f) const
{
    SqlFilter s(db_);
    if (f.matchTexts) addTexts(s, config_.partner, f.partner, f.employee, f.dh);
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
