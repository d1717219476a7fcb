// The purchase and sales analyses: who may see cost and gross profit, and the employee
// commission table. The detail lists and statistics themselves are ledger queries
// (app/data/ledger_query.h).
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace Analysis {

// Cost and gross profit of sales are shown to the built-in administrator only.
bool seesCost(const QString &operatorName);

struct CommissionFilter {
    QString jsr;          // contained in the handler's name; empty: every handler
    bool dated = false;   // both days included
    QString from, to;
};

struct CommissionRow {
    QString yuangong;
    Decimal sltc;   // quantity sold × commission per unit
    Decimal jetc;   // amount sold × commission rate
    Decimal ztc;    // the two together
};

// One row per handler, in name order. Each sale takes the rates of the goods row of its own
// warehouse, or, when that warehouse no longer holds the goods, of the oldest goods row with
// the same code, name and unit; so a sale counts once however many warehouses hold the goods.
// Returns reduce the commission; a sale whose goods are gone from every warehouse earns none.
QList<CommissionRow> commissions(Database &db, const CommissionFilter &f);
// The statements of commissions(), for a bench to run as they stand: every sale line at its
// goods row's rates, and what a warehouse's younger duplicate rows added to that.
QStringList commissionSqls(const Database &db, const CommissionFilter &f, QVariantList *values);

} // namespace Analysis
