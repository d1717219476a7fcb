// The five kinds of document and everything that differs between them: tables, number prefix,
// header columns, posting, ledgers and the texts the operator reads. Services and windows take a
// kind; a difference between kinds is a row here, never an `if` in a window.
#pragma once

#include <QList>
#include <QString>

enum class DocType { Purchase, Retail, Wholesale, Transfer, Adjustment };

// How an approved line moves a goods row.
enum class PostingRule {
    Inflow,      // purchases: moving average cost
    Outflow,     // sales: out at the row's own unit cost
    FixedCost,   // transfers and adjustments: the row's unit cost never changes
};

// One stock movement of each line: which header column names the warehouse, the sign of the
// quantity, and the ledger row it writes (`lx` "库存调出", or the header's reason when empty).
struct StockMovement {
    QString warehouseColumn;   // "ck", "ck1", "ck2"
    int sign = 1;
    QString ledgerLabel;       // transfers: "库存调出" / "库存调入"; adjustments: the reason
};

// A header field the save checks before anything else, in order, with its message.
struct RequiredField {
    QString column;
    QString message;
};

struct DocumentKind {
    DocType type;
    QString name;              // "采购入库单"
    QString headerTable, lineTable, ledgerTable;
    QString moneyTable;        // "fkfx" / "skfx"; empty for stock documents
    QString prefix;            // "CG", "XS", "PF", "DB", "YD"
    QString partyColumn;       // "ghs" / "kh"; empty for stock documents
    QString payableColumn, paidColumn;   // "yfe"/"sfe", "yse"/"sse"; empty for stock documents
    QString reasonColumn;      // "lx" for adjustments
    PostingRule rule;
    QList<StockMovement> movements;
    bool salesLines = false;   // lines carry cbjg, cbje, maoli
    bool linesHaveDiscount = true;   // lines carry zk: the kind offers "整单折扣"
    QString missingGoodsFocus = QStringLiteral("ppgg");   // where "商品不可为空！" puts the operator
    QList<RequiredField> required;   // in the order they are checked
    QString notOpenMessage;    // "采购数据未打开，关闭窗口后重新打开！"
    bool sales = false;        // the amount checks read "收款"/"实收" instead of "付款"/"实付"
    QString printName;         // "采购单", "销售单", "库存调拨单", "库存异动单"
    QString layoutWithCodes, layoutWithoutCodes;   // the same for a kind with one layout
    QString negativeMark = QStringLiteral("(退)");   // after the capitals of a total below zero

    bool hasMoney() const { return !moneyTable.isEmpty(); }
    // "带编码打印" and "不带编码打印" differ only for kinds with two layouts; the others print at once.
    bool printChoice() const { return layoutWithCodes != layoutWithoutCodes; }
    // Every header column the kind stores besides the ones all kinds share.
    QStringList headerFieldColumns() const;
};

const DocumentKind &documentKind(DocType type);
// The kind of a stored number, by its prefix; nullptr when no kind has it.
const DocumentKind *documentKindOfNumber(const QString &dh);

// Header flags and line buffer states as stored.
namespace DocFlag {
inline const QString Approved = QStringLiteral("已审核");
inline const QString NotApproved = QStringLiteral("未审核");
inline const QString Committed = QStringLiteral("yz");
inline const QString Added = QStringLiteral("dz");
inline const QString Deleted = QStringLiteral("ds");
inline const QString UnknownCategory = QStringLiteral("未知");
} // namespace DocFlag
