// How approving and un-approving a line changes a goods row's quantity, unit cost and value.
// The rules are pure functions over Decimal; apply() applies them to the book inside the
// caller's transaction, locking the rows so that no other counter changes them meanwhile.
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"
#include "documents/document_kind.h"

#include <QString>

struct StockState {
    Decimal kcsl, kcjg, kcje;
    friend bool operator==(const StockState &, const StockState &) = default;
};

namespace StockPosting {

// Purchases at moving average cost (dq = ±sl, dv = ±je). Stock coming into an empty or negative
// row takes the line's own unit cost, and a unit cost below zero is never stored: the row keeps
// its cost and its value follows the quantity.
StockState inflow(StockState row, Decimal dq, Decimal dv);
// Sales: the quantity changes and the value follows it at the row's unchanged unit cost.
StockState outflow(StockState row, Decimal dq);
// Transfers and adjustments: as outflow, the unit cost never changes.
StockState fixedCost(StockState row, Decimal dq);

// The row a movement creates when the warehouse holds no such goods: category "未知", unit cost
// `cost` (the line's price, or for sales its stock unit cost).
StockState newRow(PostingRule rule, Decimal cost, Decimal dq, Decimal dv);

// One line's change to the goods row named by warehouse, name, code and unit (dq = ±sl,
// dv = ±je; `cost` as for newRow).
struct Movement {
    QString ck, ppgg, txm, dw;
    Decimal cost, dq, dv;
};

// Applies `rule` to each movement in order, creating missing goods rows; goods named twice take
// the second movement on what the first left. Must run inside a Transaction. The rows are read
// in one statement (on PostgreSQL locked in id order, so counters posting on the same goods
// never deadlock) and written back in one: another counter waits for them only that long.
void apply(Database &db, PostingRule rule, const QList<Movement> &moves);

} // namespace StockPosting
