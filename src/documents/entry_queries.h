// The two look-ups an entry window makes besides its own lines: the goods row a typed code
// names, and the held documents the operator may take up again.
#pragma once

#include "app/data/database.h"
#include "documents/document_kind.h"
#include "master/goods.h"

#include <QSqlQuery>
#include <QString>

#include <optional>

namespace EntryQueries {

// The goods row with exactly this code (in this warehouse, when one is given). A code that is
// missing, or that two rows share, names no goods: the window then empties name and price.
std::optional<GoodsRecord> goodsByCode(Database &db, const QString &txm, const std::optional<QString> &ck);

// What the chooser of held documents asks for.
struct HeldFilter {
    QString party;                   // part of the supplier or customer name; empty: any
    QString partyColumn;             // the column `party` is looked for in; empty: the kind's party
    QString from, to;                // "yyyy-mm-dd", both included; empty: any date
    QString warehouseColumn;         // stock documents: "ck1"/"ck" must equal `warehouse`
    QString warehouse;
};

// The kind's documents not yet approved that match, in entry order (retail and wholesale
// share one table: only the kind's own prefix counts).
QSqlQuery heldDocuments(Database &db, const DocumentKind &kind, const HeldFilter &filter);

} // namespace EntryQueries
