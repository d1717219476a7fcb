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
    DateRange dates;
    Direction direction = AnyDirection;
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
