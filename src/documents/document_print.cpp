#include "documents/document_print.h"

#include "app/text/amount_to_capitals.h"

namespace DocumentPrint {

QString layoutName(const DocumentKind &kind, bool withCodes)
{
    return withCodes ? kind.layoutWithCodes : kind.layoutWithoutCodes;
}

QString capitalsText(Decimal amount, const QString &negativeMark)
{
    return QStringLiteral("(大写)") + AmountToCapitals(amount.abs()) + (amount.isNegative() ? negativeMark : QString());
}

ReportData reportData(const DocumentKind &kind, const QString &companyHeading, const DocumentHeader &h,
                      const QList<DocumentLine> &lines, const QString &printedBy, const QString &bz3, const QString &bz4)
{
    ReportData d;
    d.title = companyHeading + kind.printName;
    for (const DocumentLine &l : lines) {
        d.rows << ReportRow{{"txm", l.txm},          {"ppgg", l.ppgg},         {"dw", l.dw},
                            {"sl", l.sl.toFixed2()}, {"jg", l.jg.toFixed2()}, {"zk", l.zk.toPlain()},
                            {"je", l.je.toFixed2()}};
    }
    d.total("sl", h.hjsl.toPlain()).total("je", QStringLiteral("￥") + h.hjje.toPlain());
    d.text("dh", h.dh).text("rq", h.rq).text("bz", h.bz).text("jsr", h.jsr).text("zhidan", printedBy);
    d.text("dx", capitalsText(h.hjje, kind.negativeMark));
    for (const QString &c : kind.headerFieldColumns()) d.text(c, h.field(c));
    if (kind.sales) {
        d.text("yhe", QStringLiteral("￥") + h.yhe.toPlain()).text("sse", QStringLiteral("￥") + h.paid.toPlain());
        const Decimal owed = h.payable - h.paid;
        d.text("qkbq", owed.isZero() ? QString() : QStringLiteral("欠款:"));
        d.text("qkdx", owed.isZero() ? QString() : capitalsText(owed));
        d.text("bz3", bz3).text("bz4", bz4);
    }
    return d;
}

} // namespace DocumentPrint
