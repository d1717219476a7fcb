#include "documents/ui/tftjrkd1.h"

#include "documents/ui/tfxzrk1.h"

namespace {

EntryWindowConfig adjustment()
{
    EntryWindowConfig c;
    c.type = DocType::Adjustment;
    c.mark = QStringLiteral("tjrk");
    c.newCaption = QStringLiteral("新增库存异动单");
    c.editCaption = QStringLiteral("修改库存异动单");
    c.priceColumn = QStringLiteral("kcjg");
    c.codeInWarehouse = false;
    c.addOnEnter = QStringLiteral("sl");
    c.lineCaption = QStringLiteral("修改异动明细");
    c.lineMode = QStringLiteral("rkmx");
    c.lineShape = {QStringLiteral("TFxgmx2"), false, false, true, QStringLiteral("数量＜0：出库")};
    c.listFields = {{QStringLiteral("ck"), QStringLiteral("仓库"), QStringLiteral("选择仓库"), {}, LookupKind::Warehouse, false,
                     QStringLiteral("仓库不可为空！")},
                    {QStringLiteral("lx"), QStringLiteral("异动原因"), QStringLiteral("选择异动原因"), {},
                     LookupKind::AdjustmentReason, true, QString()}};
    c.afterDate = QStringLiteral("ck");
    c.explanation = QStringLiteral("    数量＞0：入库    数量＜0：出库");
    c.clearedAfterSave = {QStringLiteral("lx"), QStringLiteral("bz")};
    c.noteEntersLine = true;
    c.chooser = [](QWidget *parent) -> HeldDocumentChooser * { return new TFxzrk1(parent); };
    return c;
}

} // namespace

TFtjrkd1::TFtjrkd1(QWidget *parent) : DocumentEntryWindow(adjustment(), parent)
{
    setObjectName(QStringLiteral("TFtjrkd1"));
}
