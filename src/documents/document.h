// A document as the services read and write it: the header with the columns all kinds share
// plus the kind's own (warehouses, party, reason), and its lines.
#pragma once

#include "app/text/decimal.h"
#include "documents/document_kind.h"

#include <QHash>
#include <QList>
#include <QString>

struct DocumentLine {
    qint64 id = 0;
    QString txm, ppgg, dw;
    Decimal sl, jg, zk = 1, je;
    Decimal cbjg, cbje, maoli;   // sales lines only
    QString bj;

    // The amounts that follow quantity, price and rate: je = round2(sl × jg × zk), and for
    // sales lines cbje = round2(cbjg × sl), maoli = je − cbje.
    void recompute(bool salesLine);
};

struct DocumentHeader {
    qint64 id = 0;
    QString dh, rq, kdrq;
    QHash<QString, QString> fields;   // ck / ck1 / ck2 / ghs / kh / lx by column
    QString jsr, bz, zhidan, shbj;
    Decimal hjsl, hjje, yhe, payable, paid, qk;

    QString field(const QString &column) const { return fields.value(column); }
    void setField(const QString &column, const QString &value) { fields.insert(column, value); }
    bool approved() const { return shbj == DocFlag::Approved; }
};

struct DocumentTotals {
    Decimal hjsl, hjje;
};
DocumentTotals totalsOf(const QList<DocumentLine> &lines);
