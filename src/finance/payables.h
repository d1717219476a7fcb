// Payables and receivables: the approved trade documents on which money is still open. A
// negative debt is money owed the other way (goods returned, refund not yet settled).
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"
#include "finance/settlement.h"

#include <QSqlQuery>
#include <QString>

struct PayablesFilter {
    enum Direction { AnyDirection, Owed, OwedBack };   // qk <> 0 / qk > 0 / qk < 0
    bool matchTexts = false;   // the query dialog's partner, employee and number texts take part
    QString partner;
    QString employee;
    QString dh;
    DatePeriod dates;
    Direction direction = AnyDirection;
};

// What the payables and the receivables windows say differently.
struct PayablesTexts {
    QString caption;         // "采购应付明细表" / "销售应收明细表"
    QString legend;          // the red square's legend
    QString owedType;        // query type for qk > 0: "采购应付" / "销售应收"
    QString owedBackType;    // query type for qk < 0: "采购应退" / "销售应退"
    QString nothingToView;   // "没有单据可查阅！" / "没有明细可查阅！"
    QString printName;       // "应付明细表" / "应收明细表"

    static const PayablesTexts &of(SettlementKind side);
};

class PayablesBook {
public:
    // Payables read the purchase documents, receivables the sales documents: the same columns
    // as the settlement of that side.
    PayablesBook(Database &db, SettlementKind side) : db_(db), config_(SettlementConfig::of(side)) {}
    const SettlementConfig &config() const { return config_; }

    // Every open document (all dates) for the default filter, in entry order.
    QSqlQuery rows(const PayablesFilter &f = {});
    Decimal total(const PayablesFilter &f = {});

private:
    SqlFilter filter(const PayablesFilter &f) const;
    Database &db_;
    const SettlementConfig &config_;
};
