#include "documents/ui/tfdbgl1.h"

#include "documents/ui/document_viewer_opening.h"
#include "documents/ui/tfcxdb1.h"
#include "documents/ui/tflldbd1.h"

namespace {

DocumentListConfig transferList()
{
    using C = RecordTableModel::Column;
    constexpr auto A = RecordTableModel::Amount;
    return {DocType::Transfer,
            QStringLiteral("库存调拨单据"),
            {C{"rq", "调拨日期"}, C{"dh", "单号"}, C{"ck1", "调出仓库"}, C{"ck2", "调入仓库"},
             C{"hjsl", "合计数量", RecordTableModel::Quantity}, C{"hjje", "合计金额", A}, C{"jsr", "经办人"},
             C{"bz", "备注"}, C{"zhidan", "制单"}, C{"kdrq", "开单日期"}, C{"shbj", "审核"},
             C{"id", "id", RecordTableModel::Integer, false}},
            QString(),
            QStringLiteral("调拨单据汇总表"),
            QStringLiteral("TFdydbgl1"),
            [](QWidget *parent) -> std::unique_ptr<DocumentQueryDialog> { return std::make_unique<TFcxdb1>(parent); },
            [](const QStringList &numbers, int index) { openDocumentViewer<TFlldbd1>(numbers, index); },
            {"rq", "dh", "ck1", "ck2", "hjsl", "hjje"}};
}

} // namespace

TFdbgl1::TFdbgl1(QWidget *parent) : DocumentListWindow(transferList(), parent) { setObjectName(QStringLiteral("TFdbgl1")); }
