#include "documents/document_numbering.h"

#include "app/text/decimal.h"

#include <QSqlQuery>

namespace DocumentNumbering {

int sequenceOf(const QString &dh)
{
    bool ok = false;
    const int n = dh.mid(10, 3).toInt(&ok);
    return ok ? n : 0;
}

Result following(const DocumentKind &kind, const QString &saved, const QDate &today)
{
    const int n = sequenceOf(saved);
    if (n >= 999) return {Outcome::DayLimit, {}};
    if (n <= 0) return {Outcome::NoNumber, {}};
    return {Outcome::Issued,
            kind.prefix + today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("%1").arg(n + 1, 3, 10, QChar(u'0'))};
}

Result next(Database &db, const DocumentKind &kind, const QDate &today)
{
    // Retail and wholesale share a header table: the prefix keeps their sequences apart.
    QSqlQuery q = db.exec(QStringLiteral("SELECT MAX(dh) FROM %1 WHERE kdrq = ? AND dh LIKE ?").arg(kind.headerTable),
                          {dateText(today), kind.prefix + u'%'});
    const QString last = q.next() ? q.value(0).toString() : QString();
    if (last.isEmpty())
        return {Outcome::Issued, kind.prefix + today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("001")};
    return following(kind, last, today);
}

} // namespace DocumentNumbering
