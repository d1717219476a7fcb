// Assembly and disassembly: a whole made from parts, or broken into them, with the parts list
// of each whole kept between uses. Only goods quantities and values change, each row at its own
// unit cost; no document, ledger or cost is written.
#pragma once

#include "app/data/database.h"
#include "app/refusal.h"
#include "master/goods_picking.h"

#include <QSqlQuery>
#include <QString>

#include <optional>

// What differs between assembly (`zu`) and disassembly (`chai`).
struct AssemblyKind {
    QString table;             // "zu", "chai"
    int wholeSign;             // the whole's stock: +1 assembled, −1 broken up
    QString quantityField;     // "zzsl", "cfsl"
    QString coefficientField;  // "zzxs", "cfxs"
    QString noWhole;           // "组装而成的整件不可为空！"
    QString zeroQuantity;      // "组装数量不可为零！"
    QString wholeQuantity;     // "组装数量必须为整数！"
    QString noPart;            // "组装所需的零件不可为空！"
    QString zeroCoefficient;   // "组装系数不可为零！"
    QString wholeCoefficient;  // "组装系数必须为整数！"

    static const AssemblyKind &assembly();
    static const AssemblyKind &disassembly();
};

class AssemblyService {
public:
    AssemblyService(Database &db, const AssemblyKind &kind) : db_(db), kind_(kind) {}

    // The whole's warehouse (step 1) or the parts' (step 2) is required: every later step
    // looks goods up in it.
    static std::optional<Refusal> warehouseMissing(int step, const QString &ck);

    // The goods row with this code in this warehouse, when there is exactly one.
    std::optional<PickedGoods> findGoods(const QString &txm, const QString &ck);

    // The parts list of a whole: txm ppgg dw ck kc xs sl spid2 and the list row's id; a part
    // whose goods row is gone is listed with empty goods columns.
    QSqlQuery parts(qint64 spid1);
    // The stored quantities of the whole's parts follow the quantity typed: sl = quantity × xs.
    void setQuantity(qint64 spid1, const QString &quantity);

    struct PartEntry {
        QString ck2;
        qint64 spid1 = 0;
        QString quantity;      // zzsl / cfsl as typed
        qint64 spid2 = 0;
        QString coefficient;   // zzxs / cfxs as typed
    };
    // Checks in the window's order, then appends the part to the whole's list.
    std::optional<Refusal> addPart(const PartEntry &e);
    // Removes one row of a parts list (its id from parts()).
    void removePart(qint64 listRowId);

    struct Confirmation {
        QString ck1;
        qint64 spid1 = 0;
        QString quantity;
    };
    // Checks, then changes the whole and every part that still exists, in one transaction.
    std::optional<Refusal> confirm(const Confirmation &c);

private:
    std::optional<Refusal> wholeNumber(const QString &text, const QString &field, const QString &zero,
                                       const QString &notWhole) const;
    void moveStock(qint64 spid, Decimal change);

    Database &db_;
    const AssemblyKind &kind_;
};
