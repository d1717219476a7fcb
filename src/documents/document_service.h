// Holding, approving, un-approving and deleting documents of one kind: each one transaction,
// recorded in the operation log, so the book holds all of an operation or none of it.
#pragma once

#include "app/data/database.h"
#include "documents/document.h"
#include "documents/line_buffer.h"

#include <QDate>
#include <QString>

#include <optional>

class DocumentService {
public:
    DocumentService(Database &db, const DocumentKind &kind);

    // Writes the header (a new row for a new document, the held row of its number when taking
    // one up), commits the buffer and, when approving, posts stock, ledger and money rows.
    // The header's dh, kdrq, zhidan, shbj and qk are set here. When another counter saved the
    // number meanwhile, the document takes the next free one: the number it was saved under is
    // returned (and left in the buffer). Throws DbError; nothing is written then.
    QString save(DocumentHeader header, LineBuffer &lines, bool approve, const QDate &today);

    enum class Outcome { Done, AlreadyNotApproved, Missing };
    // Reverses an approved document's stock and removes its ledger and money rows; the
    // document is held again.
    Outcome unapprove(const QString &dh);
    // Removes a document with its lines; an approved one is reversed first.
    Outcome remove(const QString &dh);

    std::optional<DocumentHeader> header(const QString &dh);
    static DocumentHeader readHeader(const DocumentKind &kind, const class QSqlQuery &q);

private:
    // Moves the goods rows by the lines: direction 1 approves, -1 gives the stock back.
    void postStock(const DocumentHeader &h, const QList<DocumentLine> &lines, int direction);
    void post(const DocumentHeader &h, const QList<DocumentLine> &lines);
    void reverse(const DocumentHeader &h);
    void writeHeader(DocumentHeader &h, bool isNew);
    template <class Op> auto withRetry(Op op);

    Database &db_;
    const DocumentKind &kind_;
};
