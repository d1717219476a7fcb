#include "documents/document_service.h"

#include "app/data/operation_log.h"
#include "app/session.h"
#include "documents/document_numbering.h"
#include "documents/stock_posting.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {
// A counter that keeps losing the race for a number or a lock gives up after this many tries.
constexpr int MaxAttempts = 20;
}

DocumentService::DocumentService(Database &db, const DocumentKind &kind) : db_(db), kind_(kind) {}

template <class Op> auto DocumentService::withRetry(Op op)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return op();
        } catch (const DbError &e) {
            if (attempt >= MaxAttempts || !(e.isRetryable() || e.isUniqueViolation())) throw;
        }
    }
}

DocumentHeader DocumentService::readHeader(const DocumentKind &kind, const QSqlQuery &q)
{
    const QSqlRecord r = q.record();
    auto text = [&](const QString &c) { return q.value(r.indexOf(c)).toString(); };
    auto amount = [&](const QString &c) {
        const int i = r.indexOf(c);
        return i < 0 ? Decimal() : Decimal::fromRaw(q.value(i).toLongLong());
    };
    DocumentHeader h;
    h.id = q.value(r.indexOf(QStringLiteral("id"))).toLongLong();
    h.dh = text("dh");
    h.rq = text("rq");
    h.kdrq = text("kdrq");
    for (const QString &c : kind.headerFieldColumns()) h.setField(c, text(c));
    h.jsr = text("jsr");
    h.bz = text("bz");
    h.zhidan = text("zhidan");
    h.shbj = text("shbj");
    h.hjsl = amount("hjsl");
    h.hjje = amount("hjje");
    if (kind.hasMoney()) {
        h.yhe = amount("yhe");
        h.payable = amount(kind.payableColumn);
        h.paid = amount(kind.paidColumn);
        h.qk = amount("qk");
    }
    return h;
}

std::optional<DocumentHeader> DocumentService::header(const QString &dh)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT * FROM %1 WHERE dh = ?").arg(kind_.headerTable), {dh});
    if (!q.next()) return std::nullopt;
    return readHeader(kind_, q);
}

void DocumentService::writeHeader(DocumentHeader &h, bool isNew)
{
    QList<std::pair<QString, QVariant>> v = {{"shbj", h.shbj}, {"zhidan", h.zhidan}, {"rq", h.rq}};
    for (const QString &c : kind_.headerFieldColumns()) v.append({c, h.field(c)});
    v << std::pair<QString, QVariant>{"hjsl", h.hjsl.raw()} << std::pair<QString, QVariant>{"hjje", h.hjje.raw()};
    if (kind_.hasMoney()) {
        h.qk = h.payable - h.paid;
        v << std::pair<QString, QVariant>{"yhe", h.yhe.raw()}
          << std::pair<QString, QVariant>{kind_.payableColumn, h.payable.raw()}
          << std::pair<QString, QVariant>{kind_.paidColumn, h.paid.raw()}
          << std::pair<QString, QVariant>{"qk", h.qk.raw()};
    }
    v << std::pair<QString, QVariant>{"jsr", h.jsr} << std::pair<QString, QVariant>{"bz", h.bz};
    if (isNew) {
        v.prepend({"kdrq", h.kdrq});
        v.prepend({"dh", h.dh});
        h.id = db_.insert(kind_.headerTable, v);
        return;
    }
    QSqlQuery q = db_.exec(QStringLiteral("SELECT id, shbj FROM %1 WHERE dh = ?").arg(kind_.headerTable), {h.dh});
    // The held document may have been approved or deleted at another counter meanwhile.
    if (!q.next() || q.value(1).toString() != DocFlag::NotApproved)
        throw DbError(QStringLiteral("单据%1已被其他操作员审核或删除，未保存").arg(h.dh));
    h.id = q.value(0).toLongLong();
    db_.update(kind_.headerTable, h.id, v);
}

void DocumentService::postStock(const DocumentHeader &h, const QList<DocumentLine> &lines, int direction)
{
    QList<StockPosting::Movement> moves;
    for (const DocumentLine &l : lines) {
        for (const StockMovement &m : kind_.movements) {
            const int sign = m.sign * direction;
            moves.append({h.field(m.warehouseColumn), l.ppgg, l.txm, l.dw, kind_.salesLines ? l.cbjg : l.jg,
                          sign > 0 ? l.sl : -l.sl, sign > 0 ? l.je : -l.je});
        }
    }
    StockPosting::apply(db_, kind_.rule, moves);
}

void DocumentService::post(const DocumentHeader &h, const QList<DocumentLine> &lines)
{
    // The ledger and money rows first: other counters wait for the goods rows only while this
    // posting changes them, not while it writes its own rows.
    for (const DocumentLine &l : lines) {
        for (const StockMovement &m : kind_.movements) {
            QList<std::pair<QString, QVariant>> row = {
                {"rq", h.rq}, {"dh", h.dh}, {"ck", h.field(m.warehouseColumn)}, {"jsr", h.jsr}, {"txm", l.txm},
                {"ppgg", l.ppgg}, {"dw", l.dw}, {"sl", l.sl.raw()}, {"jg", l.jg.raw()}, {"je", l.je.raw()}};
            if (kind_.hasMoney()) row.append({kind_.partyColumn, h.field(kind_.partyColumn)});
            if (kind_.linesHaveDiscount) row.append({"zk", l.zk.raw()});
            if (kind_.salesLines)
                row << std::pair<QString, QVariant>{"cbjg", l.cbjg.raw()}
                    << std::pair<QString, QVariant>{"cbje", l.cbje.raw()}
                    << std::pair<QString, QVariant>{"maoli", l.maoli.raw()};
            if (kind_.ledgerTable == u"rkfx")
                row.append({"lx", m.ledgerLabel.isEmpty() ? h.field(kind_.reasonColumn) : m.ledgerLabel});
            db_.insertCached(kind_.ledgerTable, row);
        }
    }
    if (kind_.hasMoney() && !h.paid.isZero())
        db_.insert(kind_.moneyTable, {{"shbj", DocFlag::Approved},
                                      {"rq", h.rq},
                                      {"dh", h.dh},
                                      {kind_.partyColumn, h.field(kind_.partyColumn)},
                                      {"je", h.paid.raw()},
                                      {"jsr", h.jsr},
                                      {"bz", h.bz}});
    postStock(h, lines, 1);
}

void DocumentService::reverse(const DocumentHeader &h)
{
    // The ledger and money rows first, as in post(). What the approval posted: the committed
    // lines (an entry left pending under this number never moved stock).
    db_.exec(QStringLiteral("DELETE FROM %1 WHERE dh = ?").arg(kind_.ledgerTable), {h.dh});
    if (kind_.hasMoney()) db_.exec(QStringLiteral("DELETE FROM %1 WHERE dh = ?").arg(kind_.moneyTable), {h.dh});
    postStock(h, loadDocumentLines(db_, kind_, h.dh), -1);
}

QString DocumentService::save(DocumentHeader header, LineBuffer &lines, bool approve, const QDate &today)
{
    const bool isNew = !lines.editingHeld();
    const QString saved = withRetry([&] {
        DocumentHeader h = header;
        Transaction tx(db_);
        if (isNew) {
            h.dh = lines.number();
            h.kdrq = dateText(today);
            // Another counter saved this number first: take the next free one of the day.
            if (db_.exists(QStringLiteral("SELECT 1 FROM %1 WHERE dh = ?").arg(kind_.headerTable), {h.dh})) {
                const auto n = DocumentNumbering::next(db_, kind_, today);
                if (n.outcome != DocumentNumbering::Outcome::Issued) throw DbError(DocumentNumbering::DayLimitMessage);
                h.dh = n.dh;
            }
        } else {
            h.dh = lines.number();
        }
        h.shbj = approve ? DocFlag::Approved : DocFlag::NotApproved;
        h.zhidan = session::current().stYhm1;
        const DocumentTotals t = lines.totals();
        h.hjsl = t.hjsl;
        h.hjje = t.hjje;
        writeHeader(h, isNew);
        lines.commitInto(h.dh);
        if (approve) {
            OperationLog::write(db_, QStringLiteral("结单"), h.dh, kind_.name);
            post(h, lines.lines());
        }
        tx.commit();
        return h.dh;
    });
    lines.renumber(saved);
    lines.committed();
    return saved;
}

DocumentService::Outcome DocumentService::unapprove(const QString &dh)
{
    return withRetry([&] {
        Transaction tx(db_);
        const auto h = header(dh);
        if (!h) return Outcome::Missing;
        if (!h->approved()) return Outcome::AlreadyNotApproved;
        reverse(*h);
        db_.exec(QStringLiteral("UPDATE %1 SET shbj = ? WHERE id = ?").arg(kind_.headerTable), {DocFlag::NotApproved, h->id});
        OperationLog::write(db_, QStringLiteral("反审"), dh, kind_.name);
        tx.commit();
        return Outcome::Done;
    });
}

DocumentService::Outcome DocumentService::remove(const QString &dh)
{
    return withRetry([&] {
        Transaction tx(db_);
        const auto h = header(dh);
        if (!h) return Outcome::Missing;
        // The question promised that the document's details and debts go with it: an approved
        // document gives its stock back first, so the goods rows never count a deleted document.
        if (h->approved()) reverse(*h);
        // Lines pending under the number belong to an entry session: they are its to save or discard.
        db_.exec(QStringLiteral("DELETE FROM %1 WHERE dh = ? AND bj <> 'dz'").arg(kind_.lineTable), {dh});
        db_.exec(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(kind_.headerTable), {h->id});
        OperationLog::write(db_, QStringLiteral("删除"), dh, kind_.name + (h->approved() ? QStringLiteral("（已审核）") : QString()));
        tx.commit();
        return Outcome::Done;
    });
}
