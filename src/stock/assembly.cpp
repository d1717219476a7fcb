#include "stock/assembly.h"

const AssemblyKind &AssemblyKind::assembly()
{
    static const AssemblyKind k{QStringLiteral("zu"),
                                1,
                                QStringLiteral("zzsl"),
                                QStringLiteral("zzxs"),
                                QStringLiteral("组装而成的整件不可为空！"),
                                QStringLiteral("组装数量不可为零！"),
                                QStringLiteral("组装数量必须为整数！"),
                                QStringLiteral("组装所需的零件不可为空！"),
                                QStringLiteral("组装系数不可为零！"),
                                QStringLiteral("组装系数必须为整数！")};
    return k;
}

const AssemblyKind &AssemblyKind::disassembly()
{
    static const AssemblyKind k{QStringLiteral("chai"),
                                -1,
                                QStringLiteral("cfsl"),
                                QStringLiteral("cfxs"),
                                QStringLiteral("拆分所需的整件不可为空！"),
                                QStringLiteral("拆分数量不可为零！"),
                                QStringLiteral("拆分数量必须为整数！"),
                                QStringLiteral("拆分而成的零件不可为空！"),
                                QStringLiteral("拆分系数不可为零！"),
                                QStringLiteral("拆分系数必须为整数！")};
    return k;
}

namespace {

Refusal missing(const QString &text, const QString &field) { return Refusal{text, field, Refusal::Missing}; }

} // namespace

std::optional<PickedGoods> AssemblyService::findGoods(const QString &txm, const QString &ck)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT id, txm, ppgg, dw, kcsl FROM sp WHERE txm = ? AND ck = ?"), {txm, ck});
    if (!q.next()) return std::nullopt;
    PickedGoods g{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                  Decimal::fromRaw(q.value(4).toLongLong())};
    if (q.next()) return std::nullopt;   // ambiguous: not one goods item
    return g;
}

QSqlQuery AssemblyService::parts(qint64 spid1)
{
    return db_.exec(QStringLiteral("SELECT sp.txm, sp.ppgg, sp.dw, sp.ck, sp.kcsl AS kc, p.xs, p.sl, p.spid2, p.id "
                                   "FROM %1 p LEFT JOIN sp ON sp.id = p.spid2 WHERE p.spid1 = ? ORDER BY p.id")
                        .arg(kind_.table),
                    {spid1});
}

void AssemblyService::setQuantity(qint64 spid1, const QString &quantity)
{
    const Decimal n = Decimal::parseOr0(quantity);
    QSqlQuery rows = db_.exec(QStringLiteral("SELECT id, xs FROM %1 WHERE spid1 = ?").arg(kind_.table), {spid1});
    QList<std::pair<qint64, Decimal>> updates;
    while (rows.next()) updates.append({rows.value(0).toLongLong(), n * Decimal::fromRaw(rows.value(1).toLongLong())});
    Transaction tx(db_);
    for (const auto &[id, sl] : updates)
        db_.exec(QStringLiteral("UPDATE %1 SET sl = ? WHERE id = ?").arg(kind_.table), {sl.raw(), id});
    tx.commit();
}

std::optional<Refusal> AssemblyService::wholeNumber(const QString &text, const QString &field, const QString &zero,
                                                    const QString &notWhole) const
{
    const Decimal n = Decimal::parseOr0(text);
    // A fraction of a whole cannot be assembled: refused before anything is written.
    if (n.raw() % Decimal::Scale != 0) return missing(notWhole, field);
    if (n.isZero()) return missing(zero, field);
    return std::nullopt;
}

std::optional<Refusal> AssemblyService::warehouseMissing(int step, const QString &ck)
{
    if (!ck.trimmed().isEmpty()) return std::nullopt;
    return step == 1 ? missing(QStringLiteral("整件仓库不可为空！"), QStringLiteral("ck1"))
                     : missing(QStringLiteral("零件仓库不可为空！"), QStringLiteral("ck2"));
}

std::optional<Refusal> AssemblyService::addPart(const PartEntry &e)
{
    if (auto r = warehouseMissing(2, e.ck2)) return r;
    if (e.spid1 == 0) return missing(kind_.noWhole, QStringLiteral("txm1"));
    if (auto r = wholeNumber(e.quantity, kind_.quantityField, kind_.zeroQuantity, kind_.wholeQuantity)) return r;
    if (e.spid2 == 0) return missing(kind_.noPart, QStringLiteral("txm2"));
    if (e.spid1 == e.spid2) return missing(QStringLiteral("零件不可跟整件相同！"), QStringLiteral("txm2"));
    if (auto r = wholeNumber(e.coefficient, kind_.coefficientField, kind_.zeroCoefficient, kind_.wholeCoefficient)) return r;
    const Decimal xs = Decimal::parseOr0(e.coefficient);
    db_.insert(kind_.table, {{"spid1", e.spid1}, {"spid2", e.spid2}, {"xs", xs.raw()},
                             {"sl", (Decimal::parseOr0(e.quantity) * xs).raw()}});
    return std::nullopt;
}

void AssemblyService::removePart(qint64 listRowId)
{
    db_.exec(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(kind_.table), {listRowId});
}

void AssemblyService::moveStock(qint64 spid, Decimal change)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT kcsl, kcjg FROM sp WHERE id = ?"), {spid});
    if (!q.next()) return;   // a goods row deleted since it was listed is left out
    const Decimal kcsl = Decimal::fromRaw(q.value(0).toLongLong()) + change;
    const Decimal kcje = (kcsl * Decimal::fromRaw(q.value(1).toLongLong())).round2();
    db_.exec(QStringLiteral("UPDATE sp SET kcsl = ?, kcje = ? WHERE id = ?"), {kcsl.raw(), kcje.raw(), spid});
}

std::optional<Refusal> AssemblyService::confirm(const Confirmation &c)
{
    if (auto r = warehouseMissing(1, c.ck1)) return r;
    if (c.spid1 == 0) return missing(kind_.noWhole, QStringLiteral("txm1"));
    if (auto r = wholeNumber(c.quantity, kind_.quantityField, kind_.zeroQuantity, kind_.wholeQuantity)) return r;
    const Decimal n = Decimal::parseOr0(c.quantity);

    Transaction tx(db_);
    // The stored list follows the quantity confirmed, so the next use of this whole finds it.
    setQuantity(c.spid1, c.quantity);
    QSqlQuery list = db_.exec(QStringLiteral("SELECT spid2, sl FROM %1 WHERE spid1 = ? ORDER BY id").arg(kind_.table),
                              {c.spid1});
    QList<std::pair<qint64, Decimal>> parts;
    while (list.next()) parts.append({list.value(0).toLongLong(), Decimal::fromRaw(list.value(1).toLongLong())});
    if (parts.isEmpty()) return missing(QStringLiteral("零件不可为空！"), QString());

    const Decimal whole = kind_.wholeSign > 0 ? n : -n;
    moveStock(c.spid1, whole);
    for (const auto &[spid2, sl] : parts) moveStock(spid2, kind_.wholeSign > 0 ? -sl : sl);
    tx.commit();
    return std::nullopt;
}
