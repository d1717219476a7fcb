// A small purchase book for the list and viewer tests: goods in one warehouse, one approved
// purchase and two held ones, numbered in the order they were saved.
#pragma once

#include "../document_fixture.h"
#include "app/session.h"
#include "documents/document_numbering.h"

#include <QStringList>

namespace trade_book {

inline const QDate Today(2024, 3, 5);

inline QString saveDocument(Database &db, DocType type, QList<DocumentLine> lines, bool approve,
                            const char *paid = nullptr)
{
    const DocumentKind &kind = documentKind(type);
    LineBuffer buffer(db, kind);
    buffer.startNew(DocumentNumbering::next(db, kind, Today).dh);
    for (DocumentLine &l : lines) buffer.add(l);
    return DocumentService(db, kind).save(headerFor(kind, buffer, "一号库", paid), buffer, approve, Today);
}

inline QString savePurchase(Database &db, QList<DocumentLine> lines, bool approve, const char *paid = nullptr)
{
    return saveDocument(db, DocType::Purchase, std::move(lines), approve, paid);
}

// Returns the numbers: [0] approved 10 × A1 at 5 (stock 10 at 4 before it), [1] held 2 × A1
// at 5 with nothing paid (a debt of 10), [2] held with a return line −1 × B1 at 3 and 2 × A1.
inline QStringList addPurchases(Database &db)
{
    session::current().stYhm1 = QStringLiteral("系统管理员");
    addGoods(db, "一号库", "A1", "10", "4", "40");
    QStringList dh;
    dh << savePurchase(db, {line("A1", "10", "5")}, true);
    dh << savePurchase(db, {line("A1", "2", "5")}, false, "0");
    dh << savePurchase(db, {line("B1", "-1", "3"), line("A1", "2", "5")}, false);
    return dh;
}

} // namespace trade_book
