#include "documents/ui/tfcggl1.h"

#include "documents/ui/document_viewer_opening.h"
#include "documents/ui/tfcxcg1.h"
#include "documents/ui/tfllcgd1.h"

namespace {

DocumentListConfig purchaseList()
{
    using C = RecordTableModel::Column;
    constexpr auto A = RecordTableModel::Amount;
    return {DocType::Purchase,
            QStringLiteral("采购单据"),
            {C{"rq", "采购日期"}, C{"dh", "单号"}, C{"ghs", "厂商"}, C{"hjsl", "合计数量", RecordTableModel::Quantity},
             C{"hjje", "合计金额", A}, C{"yhe", "优惠额", A}, C{"yfe", "应付额", A}, C{"sfe", "实付额", A},
             C{"qk", "欠款", A}, C{"ck", "仓库"}, C{"jsr", "经办人"}, C{"zhidan", "制单"}, C{"bz", "备注"},
             C{"kdrq", "开单日期"}, C{"shbj", "审核"}, C{"id", "id", RecordTableModel::Integer, false}},
            QStringLiteral("厂商"),
            QStringLiteral("采购单据汇总表"),
            QStringLiteral("TFdycggl1"),
            [](QWidget *parent) -> std::unique_ptr<DocumentQueryDialog> { return std::make_unique<TFcxcg1>(parent); },
            [](const QStringList &numbers, int index) { openDocumentViewer<TFllcgd1>(numbers, index); }};
}

} // namespace

TFcggl1::TFcggl1(QWidget *parent) : DocumentListWindow(purchaseList(), parent) {}
