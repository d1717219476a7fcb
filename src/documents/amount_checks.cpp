#include "documents/amount_checks.h"

namespace AmountChecks {

namespace {

std::optional<Refusal> fromLines(const DocumentKind &kind, const DocumentHeader &h, int lineCount)
{
    if (lineCount == 0) return Refusal{QStringLiteral("明细不可为空！"), QString()};
    if (!kind.hasMoney()) return std::nullopt;

    const QString doc = kind.sales ? QStringLiteral("收款单据，") : QStringLiteral("付款单据，");
    const QString paid = kind.sales ? QStringLiteral("实收额") : QStringLiteral("实付额");
    const QString payable = kind.sales ? QStringLiteral("应收额") : QStringLiteral("应付额");
    const QString refund = QStringLiteral("退款单据，");
    const Decimal zero;
    auto refuse = [&](const QString &text, const QString &field) { return Refusal{text, field}; };

    if (h.hjje.isZero()) {
        if (!h.yhe.isZero()) return refuse(QStringLiteral("总金额为零，优惠额只可为零！"), "yhe");
        if (!h.paid.isZero()) return refuse(QStringLiteral("总金额为零，") + paid + QStringLiteral("只可为零！"), kind.paidColumn);
    } else if (h.hjje > zero) {
        if (h.yhe < zero) return refuse(doc + QStringLiteral("优惠额不可为负数！"), "yhe");
        if (h.yhe > h.hjje) return refuse(doc + QStringLiteral("优惠额不可大于总金额！"), "yhe");
        if (h.paid < zero) return refuse(doc + paid + QStringLiteral("不可为负数！"), kind.paidColumn);
        if (h.paid > h.payable) return refuse(doc + paid + QStringLiteral("不可大于") + payable + u'！', kind.paidColumn);
    } else {
        if (h.yhe > zero) return refuse(refund + QStringLiteral("优惠额不可为正数！"), "yhe");
        if (h.yhe < h.hjje) return refuse(refund + QStringLiteral("优惠额不可小于总金额！"), "yhe");
        if (h.paid > zero) return refuse(refund + paid + QStringLiteral("不可为正数！"), kind.paidColumn);
        if (h.paid < h.payable) return refuse(refund + paid + QStringLiteral("不可小于") + payable + u'！', kind.paidColumn);
    }
    return std::nullopt;
}

} // namespace

std::optional<Refusal> beforeSave(const DocumentKind &kind, const DocumentHeader &header, int lineCount)
{
    for (const RequiredField &r : kind.required) {
        const QString value = r.column == u"jsr" ? header.jsr : header.field(r.column);
        if (value.trimmed().isEmpty()) return Refusal{r.message, r.column};
    }
    return fromLines(kind, header, lineCount);
}

std::optional<Refusal> beforePrint(const DocumentKind &kind, const DocumentHeader &header, int lineCount)
{
    return fromLines(kind, header, lineCount);
}

} // namespace AmountChecks
