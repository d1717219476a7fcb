// What the goods pickers hand to the windows that open them: a document line built from a goods
// row (the line picker), the chosen goods fields (the assembly picker), and the filter of the
// goods query dialog. The windows implement the caller interfaces; the pickers know nothing else
// about them.
#pragma once

#include "app/text/decimal.h"
#include "master/goods.h"

#include <QString>

#include <optional>

// ---- The line picker: marks "tjcg", "tjxs", "tjpf", "tjrk", "tjdb" -------------------------

// A document line as the line picker makes it from a goods row. The caller stores it in its own
// line set with its document number `dh` and the state `bj` = "dz" (added, not yet committed).
struct GoodsLine {
    QString txm, ppgg, dw;
    Decimal sl;                    // always 1
    Decimal jg;                    // the price the mark names
    Decimal je;                    // sl × jg
    std::optional<Decimal> zk;     // discount factor 1: purchase and sales lines only
    std::optional<Decimal> cbjg;   // sales lines: stock unit cost
    std::optional<Decimal> cbje;   // sales lines: cost of the line
    std::optional<Decimal> maoli;  // sales lines: je − cbje
};

namespace GoodsPicking {

// The marks of the line picker and the goods column whose price each one shows and takes.
bool isLineMark(const QString &mark);
QString priceColumn(const QString &mark);          // "jj", "xjls", "xjpf", "kcjg"; empty if unknown
const QStringList &priceColumns();                 // the four price columns of the picker's grid
// The line for one pick of `goods` by the caller named by `mark`; nullopt for an unknown mark.
std::optional<GoodsLine> lineFor(const QString &mark, const GoodsRecord &goods);
// The message a caller with an empty warehouse gets: "调出仓库不可为空！" for the transfer,
// "仓库不可为空！" for the other documents.
QString warehouseMissingMessage(const QString &mark);

// ---- The assembly picker: marks "zu1", "zu2", "chai1", "chai2" ------------------------------

bool isAssemblyMark(const QString &mark);
// "整件仓库不可为空！" for the whole ("zu1", "chai1"), "零件仓库不可为空！" for the part.
QString assemblyWarehouseMissingMessage(const QString &mark);

// The values of "sao", the assembly window's marker that suspends its typing lookups while
// the picker fills its fields.
inline const QString PickerOpen = QStringLiteral("xuan");
inline const QString PickerClosed = QStringLiteral("sao");

} // namespace GoodsPicking

// A document window that takes goods lines from the line picker implements this. The picker
// calls currentWarehouse() when it is (re)opened for the caller, and for every choice
// appendGoodsLine() followed by recomputeTotals().
class GoodsLineCaller {
public:
    virtual ~GoodsLineCaller() = default;
    // The warehouse whose goods the picker offers (`ck`, for the transfer `ck1`).
    virtual QString currentWarehouse() const = 0;
    // Store the line in the open line set (with this window's `dh` and `bj` = "dz").
    virtual void appendGoodsLine(const GoodsLine &line) = 0;
    // Walk the whole line set and write the sums of `sl` and `je` into `hjsl` and `hjje`.
    virtual void recomputeTotals() = 0;
};

// The goods fields of the assembly and disassembly windows that the picker fills for a mark:
// "zu1"/"chai1" the whole (`txm1`, `ppgg1`, `dw1`, `kcsl1`, `spid1`), "zu2"/"chai2" the part.
struct PickedGoods {
    qint64 spid = 0;
    QString txm, ppgg, dw;
    Decimal kcsl;
};

class AssemblyGoodsCaller {
public:
    virtual ~AssemblyGoodsCaller() = default;
    // Fill the fields that `mark` names. Called before the picker closes, while "sao" is "xuan".
    virtual void assemblyGoodsChosen(const QString &mark, const PickedGoods &goods) = 0;
    // The marker "sao": "xuan" as the picker opens, "sao" whenever it closes, chosen or not.
    virtual void setSao(const QString &value) = 0;
};

// ---- The goods query dialog ------------------------------------------------------------------

// Mode "sp": the goods list re-queries itself with the filter.
class GoodsQueryTarget {
public:
    virtual ~GoodsQueryTarget() = default;
    virtual void applyGoodsFilter(const GoodsFilter &filter) = 0;
};

// Mode "kc": the stock detail list re-queries itself with the filter and shows the totals.
// `valueText` is empty when the operator may not see stock prices ("不显价格").
class StockQueryTarget {
public:
    virtual ~StockQueryTarget() = default;
    virtual void applyStockFilter(const GoodsFilter &filter, const QString &quantityText, const QString &valueText) = 0;
};

namespace GoodsPicking {
// Panel texts of mode "kc" for the totals: plain decimals, the value empty when prices are hidden.
std::pair<QString, QString> stockTotalsTexts(const StockTotals &t, const QString &stkcjg);
} // namespace GoodsPicking
