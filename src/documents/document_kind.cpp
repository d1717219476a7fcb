#include "documents/document_kind.h"

#include <QStringList>

// Each kind names only what it has; the rest stays empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

QList<DocumentKind> makeKinds()
{
    const RequiredField warehouse{QStringLiteral("ck"), QStringLiteral("仓库不可为空！")};
    const RequiredField handler{QStringLiteral("jsr"), QStringLiteral("经办人不可为空！")};

    const DocumentKind purchase{
        .type = DocType::Purchase, .name = QStringLiteral("采购入库单"),
        .headerTable = "cgglz", .lineTable = "cgglc", .ledgerTable = "cgfx", .moneyTable = "fkfx",
        .prefix = "CG", .partyColumn = "ghs", .payableColumn = "yfe", .paidColumn = "sfe",
        .rule = PostingRule::Inflow, .movements = {{"ck", 1, {}}},
        .missingGoodsFocus = QStringLiteral("txm"),   // the code is typed again
        .required = {warehouse, handler, {QStringLiteral("ghs"), QStringLiteral("厂商不可为空！")}},
        .notOpenMessage = QStringLiteral("采购数据未打开，关闭窗口后重新打开！"),
        .printName = QStringLiteral("采购单"), .layoutWithCodes = "TFdycgd2", .layoutWithoutCodes = "TFdycgd1"};

    const DocumentKind retail{
        .type = DocType::Retail, .name = QStringLiteral("零售出库单"),
        .headerTable = "xsglz", .lineTable = "xsglc", .ledgerTable = "xsfx", .moneyTable = "skfx",
        .prefix = "XS", .partyColumn = "kh", .payableColumn = "yse", .paidColumn = "sse",
        .rule = PostingRule::Outflow, .movements = {{"ck", -1, {}}}, .salesLines = true,
        .required = {warehouse, handler, {QStringLiteral("kh"), QStringLiteral("客户不可为空！")}},
        .notOpenMessage = QStringLiteral("销售数据未打开，关闭窗口后重新打开！"), .sales = true,
        .printName = QStringLiteral("销售单"), .layoutWithCodes = "TFdyxsd2", .layoutWithoutCodes = "TFdyxsd1"};

    DocumentKind wholesale = retail;
    wholesale.type = DocType::Wholesale;
    wholesale.name = QStringLiteral("批发出库单");
    wholesale.prefix = "PF";

    const DocumentKind transfer{
        .type = DocType::Transfer, .name = QStringLiteral("库存调拨单"),
        .headerTable = "dbglz", .lineTable = "dbglc", .ledgerTable = "rkfx", .prefix = "DB",
        .rule = PostingRule::FixedCost,
        .movements = {{"ck1", -1, QStringLiteral("库存调出")}, {"ck2", 1, QStringLiteral("库存调入")}},
        .linesHaveDiscount = false,
        .required = {{QStringLiteral("ck1"), QStringLiteral("调出仓库不可为空！")},
                     {QStringLiteral("ck2"), QStringLiteral("调入仓库不可为空！")},
                     handler},
        .notOpenMessage = QStringLiteral("调拨数据未打开，关闭窗口后重新打开！"),
        .printName = QStringLiteral("库存调拨单"), .layoutWithCodes = "TFdydbd1", .layoutWithoutCodes = "TFdydbd1"};

    const DocumentKind adjustment{
        .type = DocType::Adjustment, .name = QStringLiteral("库存异动单"),
        .headerTable = "rkglz", .lineTable = "rkglc", .ledgerTable = "rkfx", .prefix = "YD",
        .reasonColumn = "lx", .rule = PostingRule::FixedCost, .movements = {{"ck", 1, {}}},
        .linesHaveDiscount = false,
        .required = {warehouse, handler, {QStringLiteral("lx"), QStringLiteral("异动原因不可为空！")}},
        .notOpenMessage = QStringLiteral("异动数据未打开，关闭窗口后重新打开！"),
        .printName = QStringLiteral("库存异动单"), .layoutWithCodes = "TFdyrkd1", .layoutWithoutCodes = "TFdyrkd1",
        .negativeMark = QStringLiteral("(出)")};

    return {purchase, retail, wholesale, transfer, adjustment};
}

const QList<DocumentKind> &kinds()
{
    static const QList<DocumentKind> all = makeKinds();
    return all;
}

} // namespace

QStringList DocumentKind::headerFieldColumns() const
{
    QStringList cols;
    for (const StockMovement &m : movements)
        if (!cols.contains(m.warehouseColumn)) cols << m.warehouseColumn;
    if (!partyColumn.isEmpty()) cols << partyColumn;
    if (!reasonColumn.isEmpty()) cols << reasonColumn;
    return cols;
}

const DocumentKind &documentKind(DocType type) { return kinds()[static_cast<int>(type)]; }

const DocumentKind *documentKindOfNumber(const QString &dh)
{
    for (const DocumentKind &k : kinds())
        if (dh.startsWith(k.prefix)) return &k;
    return nullptr;
}
