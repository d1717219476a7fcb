// Small books for the document tests: goods rows, a document built line by line, and reading
// back what a goods row holds.
#pragma once

#include "app/data/database.h"
#include "documents/document_service.h"
#include "documents/line_buffer.h"

#include <QSqlQuery>

inline Decimal dec(const char *text) { return *Decimal::parse(QString::fromLatin1(text)); }

inline qint64 addGoods(Database &db, const QString &ck, const QString &txm, const char *kcsl, const char *kcjg,
                       const char *kcje)
{
    return db.insert("sp", {{"ck", ck}, {"lb", "钢材"}, {"txm", txm}, {"ppgg", "名" + txm}, {"dw", "根"},
                            {"kcsl", dec(kcsl).raw()}, {"kcjg", dec(kcjg).raw()}, {"kcje", dec(kcje).raw()}});
}

// kcsl, kcjg, kcje of the goods row; "missing" when there is none.
inline QString stockOf(Database &db, const QString &ck, const QString &txm)
{
    QSqlQuery q = db.exec("SELECT kcsl, kcjg, kcje, lb FROM sp WHERE ck = ? AND txm = ? ORDER BY id", {ck, txm});
    if (!q.next()) return "missing";
    return QStringLiteral("%1 %2 %3").arg(Decimal::fromRaw(q.value(0).toLongLong()).toPlain(),
                                          Decimal::fromRaw(q.value(1).toLongLong()).toFixed2(),
                                          Decimal::fromRaw(q.value(2).toLongLong()).toFixed2());
}

inline int countRows(Database &db, const QString &sql, std::initializer_list<QVariant> values = {})
{
    QSqlQuery q = db.exec(sql, values);
    return q.next() ? q.value(0).toInt() : -1;
}

inline DocumentLine line(const QString &txm, const char *sl, const char *jg, const char *cbjg = "0")
{
    DocumentLine l;
    l.txm = txm;
    l.ppgg = "名" + txm;
    l.dw = "根";
    l.sl = dec(sl);
    l.jg = dec(jg);
    l.cbjg = dec(cbjg);
    l.recompute(true);
    return l;
}

// A header whose payable follows the lines and is paid in full unless `paid` says otherwise.
inline DocumentHeader headerFor(const DocumentKind &kind, const LineBuffer &lines, const QString &ck,
                                const char *paid = nullptr)
{
    DocumentHeader h;
    h.rq = "2024-03-05";
    h.jsr = "张三";
    for (const StockMovement &m : kind.movements) h.setField(m.warehouseColumn, ck);
    if (!kind.partyColumn.isEmpty()) h.setField(kind.partyColumn, "宏达建材");
    if (!kind.reasonColumn.isEmpty()) h.setField(kind.reasonColumn, "盘盈");
    const DocumentTotals t = lines.totals();
    h.hjsl = t.hjsl;
    h.hjje = t.hjje;
    h.payable = t.hjje;
    h.paid = paid ? dec(paid) : t.hjje;
    return h;
}
