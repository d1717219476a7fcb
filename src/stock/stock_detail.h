// The stock detail list's rules: the totals of all stock, zeroing a shown selection of goods
// rows, and the refusals of zeroing, printing and the assembly buttons.
#pragma once

#include "app/data/database.h"
#include "app/refusal.h"
#include "master/goods.h"

#include <QList>
#include <QString>

#include <optional>

namespace StockDetail {

// Quantity and value of every goods row of every warehouse.
StockTotals allTotals(Database &db);

// What the operator holds, as the main window published it.
bool pricesShown();    // "显示库存价格"
bool mayZero();        // "库存归零"

// The checks before zeroing, in order: the permission, an opened list, rows in it.
std::optional<Refusal> zeroingRefusal(bool mayZeroStock, bool listOpen, int rows);
// The five-line question asked before zeroing.
QString zeroingQuestion();
// Sets quantity and value of exactly these goods rows to 0 (unit cost kept), all or none, and
// records who zeroed how many rows in the operation log.
void zeroStock(Database &db, const QList<qint64> &ids);

enum class PrintKind { WithPrices, WithoutPrices };
std::optional<Refusal> printRefusal(PrintKind kind, bool pricesAreShown, bool listOpen, int rows);

// "组装" / "拆零": prices must be shown and the list open.
std::optional<Refusal> assemblyRefusal(bool disassembly, bool pricesAreShown, bool listOpen);

} // namespace StockDetail
