#include "documents/ui/tfxsgl1.h"

#include "documents/ui/document_viewer_opening.h"
#include "documents/ui/tfcxxs1.h"
#include "documents/ui/tfllxsd1.h"

namespace {

// Retail and wholesale share their tables and the outflow rule: the retail kind stands for
// both here, and the number's prefix tells them apart in the list.
DocumentListConfig salesList()
{
    using C = RecordTableModel::Column;
    constexpr auto A = RecordTableModel::Amount;
    return {DocType::Retail,
            QStringLiteral("销售单据"),
            {C{"rq", "销售日期"}, C{"dh", "单号"}, C{"kh", "客户"}, C{"hjsl", "合计数量", RecordTableModel::Quantity},
             C{"hjje", "合计金额", A}, C{"yhe", "优惠额", A}, C{"yse", "应收额", A}, C{"sse", "实收额", A},
             C{"qk", "欠款", A}, C{"ck", "仓库"}, C{"jsr", "经办人"}, C{"bz", "备注"}, C{"zhidan", "制单"},
             C{"kdrq", "开单日期"}, C{"shbj", "审核"}, C{"id", "id", RecordTableModel::Integer, false}},
            QStringLiteral("客户"),
            QStringLiteral("销售单据汇总表"),
            QStringLiteral("TFdycggl1"),   // the one document-list layout; the party column is renamed
            [](QWidget *parent) -> std::unique_ptr<DocumentQueryDialog> { return std::make_unique<TFcxxs1>(parent); },
            [](const QStringList &numbers, int index) { openDocumentViewer<TFllxsd1>(numbers, index); }};
}

} // namespace

TFxsgl1::TFxsgl1(QWidget *parent) : DocumentListWindow(salesList(), parent) {}
