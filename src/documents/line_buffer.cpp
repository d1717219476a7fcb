#include "documents/line_buffer.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

QString idList(const QList<qint64> &ids)
{
    // Ids are numbers the book generated, never typed text: safe to write into the statement.
    QStringList parts;
    for (qint64 id : ids) parts << QString::number(id);
    return parts.join(u',');
}

DocumentLine readLine(const QSqlQuery &q, bool sales, bool discount)
{
    const QSqlRecord r = q.record();
    auto amount = [&](const char *c) { return Decimal::fromRaw(q.value(r.indexOf(QLatin1String(c))).toLongLong()); };
    DocumentLine l;
    l.id = q.value(r.indexOf(QStringLiteral("id"))).toLongLong();
    l.txm = q.value(r.indexOf(QStringLiteral("txm"))).toString();
    l.ppgg = q.value(r.indexOf(QStringLiteral("ppgg"))).toString();
    l.dw = q.value(r.indexOf(QStringLiteral("dw"))).toString();
    l.bj = q.value(r.indexOf(QStringLiteral("bj"))).toString();
    l.sl = amount("sl");
    l.jg = amount("jg");
    l.je = amount("je");
    if (discount) l.zk = amount("zk");
    if (sales) {
        l.cbjg = amount("cbjg");
        l.cbje = amount("cbje");
        l.maoli = amount("maoli");
    }
    return l;
}

QList<DocumentLine> readLines(QSqlQuery &q, const DocumentKind &kind)
{
    QList<DocumentLine> out;
    while (q.next()) out << readLine(q, kind.salesLines, kind.linesHaveDiscount);
    return out;
}

} // namespace

QList<DocumentLine> loadDocumentLines(Database &db, const DocumentKind &kind, const QString &dh)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM %1 WHERE dh = ? AND bj <> 'dz' ORDER BY id").arg(kind.lineTable), {dh});
    return readLines(q, kind);
}

LineBuffer::LineBuffer(Database &db, const DocumentKind &kind) : db_(db), kind_(kind), session_(db, kind) {}

LineBuffer::~LineBuffer() { session_.end(hasPendingChanges()); }

void LineBuffer::startNew(const QString &dh)
{
    session_.restart();
    dh_ = dh;
    held_ = false;
    lines_.clear();
    added_.clear();
    deleted_.clear();
}

void LineBuffer::takeUp(const QString &dh)
{
    lines_ = loadDocumentLines(db_, kind_, dh);
    session_.restart();
    dh_ = dh;
    held_ = true;
    added_.clear();
    deleted_.clear();
}

void LineBuffer::renumber(const QString &dh) { dh_ = dh; }

QList<std::pair<QString, QVariant>> LineBuffer::columnValues(const DocumentLine &l) const
{
    QList<std::pair<QString, QVariant>> v = {{"txm", l.txm}, {"ppgg", l.ppgg}, {"dw", l.dw},
                                             {"sl", l.sl.raw()}, {"jg", l.jg.raw()}, {"je", l.je.raw()}};
    if (kind_.linesHaveDiscount) v.append({"zk", l.zk.raw()});
    if (kind_.salesLines) v << std::pair<QString, QVariant>{"cbjg", l.cbjg.raw()}
                            << std::pair<QString, QVariant>{"cbje", l.cbje.raw()}
                            << std::pair<QString, QVariant>{"maoli", l.maoli.raw()};
    return v;
}

int LineBuffer::add(DocumentLine line)
{
    const qint64 hh = session_.confirm();
    line.bj = DocFlag::Added;
    auto values = columnValues(line);
    values.prepend({"dh", dh_});
    values.append({"bj", line.bj});
    values.append({"hh", hh});
    line.id = db_.insert(kind_.lineTable, values);
    added_ << line.id;
    lines_ << line;
    return lines_.size() - 1;
}

void LineBuffer::remove(int index)
{
    const DocumentLine &l = lines_.at(index);
    const qint64 hh = session_.confirm();
    if (added_.contains(l.id)) {
        db_.exec(QStringLiteral("DELETE FROM %1 WHERE id = ? AND hh = ?").arg(kind_.lineTable), {l.id, hh});
        added_.removeOne(l.id);
    } else {
        // New documents have only added lines; a held document's committed line waits for the save.
        db_.exec(QStringLiteral("UPDATE %1 SET bj = ?, hh = ? WHERE id = ?").arg(kind_.lineTable), {DocFlag::Deleted, hh, l.id});
        deleted_ << l.id;
    }
    lines_.removeAt(index);
}

void LineBuffer::update(int index, const DocumentLine &line)
{
    DocumentLine &l = lines_[index];
    // A line added here is written only while the session is still this window's.
    if (added_.contains(l.id)) session_.confirm();
    const qint64 id = l.id;
    const QString bj = l.bj;
    l = line;
    l.id = id;
    l.bj = bj;
    db_.update(kind_.lineTable, id, columnValues(l));
}

void LineBuffer::discountAll(Decimal rate)
{
    if (!added_.isEmpty()) session_.confirm();
    Transaction tx(db_);
    QList<DocumentLine> changed = lines_;
    for (DocumentLine &l : changed) {
        l.zk = rate;
        l.recompute(kind_.salesLines);
        db_.update(kind_.lineTable, l.id, columnValues(l));
    }
    tx.commit();
    lines_ = changed;
}

void LineBuffer::commitInto(const QString &dh)
{
    if (!hasPendingChanges()) return;
    const qint64 hh = session_.confirm();
    // Every row this window wrote must still be its own: otherwise the document would be saved
    // with lines missing or with lines another counter has taken over.
    auto all = [&](const QString &sql, const QList<qint64> &rows, QVariantList values) {
        values << hh;
        QSqlQuery q = db_.exec(sql.arg(kind_.lineTable, idList(rows)), values);
        if (q.numRowsAffected() != rows.size()) throw DbError(EntrySession::LostMessage);
    };
    if (!added_.isEmpty())
        all(QStringLiteral("UPDATE %1 SET bj = 'yz', hh = 0, dh = ? WHERE id IN (%2) AND hh = ? AND bj = 'dz'"), added_, {dh});
    if (!deleted_.isEmpty()) all(QStringLiteral("DELETE FROM %1 WHERE id IN (%2) AND hh = ? AND bj = 'ds'"), deleted_, {});
}

void LineBuffer::committed()
{
    added_.clear();
    deleted_.clear();
    for (DocumentLine &l : lines_) l.bj = DocFlag::Committed;
}

void LineBuffer::discard()
{
    if (!hasPendingChanges()) return;
    // A session another counter has settled left nothing here to discard.
    if (!session_.lost()) {
        const qint64 hh = session_.id();
        Transaction tx(db_);
        if (!added_.isEmpty())
            db_.exec(QStringLiteral("DELETE FROM %1 WHERE id IN (%2) AND hh = ?").arg(kind_.lineTable, idList(added_)), {hh});
        if (!deleted_.isEmpty())
            db_.exec(QStringLiteral("UPDATE %1 SET bj = 'yz', hh = 0 WHERE id IN (%2) AND hh = ? AND bj = 'ds'")
                         .arg(kind_.lineTable, idList(deleted_)),
                     {hh});
        tx.commit();
    }
    added_.clear();
    deleted_.clear();
}

void LineBuffer::recover(const InterruptedLines &found, bool take)
{
    const qint64 into = take && found.added > 0 ? session_.confirm() : 0;
    const QList<qint64> moved = InterruptedEntry::settle(db_, kind_, found, dh_, into);
    if (moved.isEmpty()) return;
    QSqlQuery q = db_.exec(QStringLiteral("SELECT * FROM %1 WHERE id IN (%2) ORDER BY id").arg(kind_.lineTable, idList(moved)));
    for (const DocumentLine &l : readLines(q, kind_)) {
        lines_ << l;
        added_ << l.id;
    }
}
