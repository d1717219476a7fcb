// The lines of the one document an entry window edits. Every change goes to the line table at
// once (so a held document and its pending changes live in the book), and the buffer remembers
// which rows it added and which it marked deleted: saving commits exactly those rows and closing
// discards exactly those, never another window's or another counter's pending lines. Its pending
// rows carry the window's entry session, so what a killed program left behind is known as such.
#pragma once

#include "app/data/database.h"
#include "documents/document.h"
#include "documents/entry_session.h"

#include <QList>
#include <QSet>

class LineBuffer {
public:
    LineBuffer(Database &db, const DocumentKind &kind);
    // Pending changes not discarded stay for the next opening of the kind's window to offer.
    ~LineBuffer();

    const DocumentKind &kind() const { return kind_; }
    const QString &number() const { return dh_; }
    bool editingHeld() const { return held_; }   // mode "修改"
    const QList<DocumentLine> &lines() const { return lines_; }
    DocumentTotals totals() const { return totalsOf(lines_); }
    bool hasPendingChanges() const { return !added_.isEmpty() || !deleted_.isEmpty(); }

    // A new document under this number: no lines yet. Pending changes must be discarded first.
    void startNew(const QString &dh);
    // A held document taken up again: its committed lines in entry order.
    void takeUp(const QString &dh);
    // The number a new document was saved under when another counter had taken the one shown.
    void renumber(const QString &dh);

    // Appends a line (state "dz") and returns its index.
    int add(DocumentLine line);
    // A committed line of a held document is marked "ds" until the save; a line added since the
    // document was opened is simply removed.
    void remove(int index);
    // Quantity, price, rate and the amounts that follow them, written in place (the change is
    // kept even if the document is then abandoned).
    void update(int index, const DocumentLine &line);
    // One discount rate for every line.
    void discountAll(Decimal rate);

    // Inside the save's transaction: the added lines become committed ("dz" → "yz") and the
    // lines marked deleted go. The buffer forgets them once the transaction has committed.
    void commitInto(const QString &dh);
    void committed();
    // Closing the window or starting another document: added lines deleted, marked lines back.
    void discard();

    // What entry sessions of this kind that ended without saving left: their marked deletions
    // are undone whatever the answer; taken, their added lines become lines of this document
    // (pending like lines added here), otherwise they are removed.
    void recover(const InterruptedLines &found, bool take);

private:
    QList<std::pair<QString, QVariant>> columnValues(const DocumentLine &l) const;

    Database &db_;
    const DocumentKind &kind_;
    QString dh_;
    bool held_ = false;
    QList<DocumentLine> lines_;
    QList<qint64> added_;      // rows inserted by this buffer, still "dz"
    QList<qint64> deleted_;    // committed rows marked "ds"
    EntrySession session_;
};

// The committed lines of a stored document in entry order: what taking up, un-approval,
// deletion, the viewers and prints read. A line marked deleted ("ds") by a window still editing
// the document is one of them until that window saves; added lines ("dz") are not.
QList<DocumentLine> loadDocumentLines(Database &db, const DocumentKind &kind, const QString &dh);
