#include "documents/ui/tfrkgl1.h"

#include "documents/ui/document_viewer_opening.h"
#include "documents/ui/tfcxrk1.h"
#include "documents/ui/tfllrkd1.h"

namespace {

DocumentListConfig adjustmentList()
{
    using C = RecordTableModel::Column;
    constexpr auto A = RecordTableModel::Amount;
    return {DocType::Adjustment,
            QStringLiteral("库存异动单据"),
            {C{"rq", "异动日期"}, C{"dh", "单号"}, C{"ck", "仓库"}, C{"lx", "异动原因"},
             C{"hjsl", "合计数量", RecordTableModel::Quantity}, C{"hjje", "合计金额", A}, C{"jsr", "经办人"},
             C{"bz", "备注"}, C{"zhidan", "制单"}, C{"kdrq", "开单日期"}, C{"shbj", "审核"},
             C{"id", "id", RecordTableModel::Integer, false}},
            QString(),
            QStringLiteral("异动单据汇总表"),
            QStringLiteral("TFdyrkgl1"),
            [](QWidget *parent) -> std::unique_ptr<DocumentQueryDialog> { return std::make_unique<TFcxrk1>(parent); },
            [](const QStringList &numbers, int index) { openDocumentViewer<TFllrkd1>(numbers, index); },
            {"rq", "dh", "lx", "hjsl", "hjje", "jsr"}};
}

} // namespace

TFrkgl1::TFrkgl1(QWidget *parent) : DocumentListWindow(adjustmentList(), parent) { setObjectName(QStringLiteral("TFrkgl1")); }
