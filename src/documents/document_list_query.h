// What a document list shows: the held documents it opens on, or the documents a query asks
// for, with the five totals of its status bar. Conditions are bound values, so whatever the
// operator types is only ever searched for as text.
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"
#include "documents/document_kind.h"

#include <QDate>
#include <QSqlQuery>
#include <QString>

#include <optional>
#include <utility>

struct DocumentListFilter {
    QString party;     // supplier or customer contains this
    QString partyColumn;   // where `party` is looked for when not the kind's party: "ck1", "lx"
    QString handler;   // jsr contains this
    QString number;    // dh contains this
    QString approval;  // DocFlag::Approved / NotApproved; empty: both
    std::optional<std::pair<QDate, QDate>> dates;   // rq within, both ends included
    bool debtOnly = false;                          // qk <> 0
};

struct DocumentListSums {
    Decimal hjsl, hjje, payable, paid, qk;
};

class DocumentListQuery {
public:
    DocumentListQuery(Database &db, const DocumentKind &kind);

    // The list on opening: documents not yet approved, in number order.
    QSqlQuery heldRows();
    DocumentListSums heldSums();

    // A query: the documents matching every condition, in entry order.
    QSqlQuery rows(const DocumentListFilter &f);
    DocumentListSums sums(const DocumentListFilter &f);

private:
    QSqlQuery select(const QString &where, const QVariantList &values, const QString &order);
    DocumentListSums sumsWhere(const QString &where, const QVariantList &values);

    Database &db_;
    const DocumentKind &kind_;
};
