#include "documents/ui/tftjcgd1.h"

#include "documents/ui/tfxzcg1.h"
#include "master/ui/tfghs2.h"

namespace {

EntryWindowConfig purchase()
{
    EntryWindowConfig c;
    c.type = DocType::Purchase;
    c.mark = QStringLiteral("tjcg");
    c.newCaption = QStringLiteral("新增采购入库单");
    c.editCaption = QStringLiteral("修改采购入库单");
    c.partyCaption = QStringLiteral("厂商");
    c.partyPickHint = QStringLiteral("选择厂商");
    c.payableCaption = QStringLiteral("应付额");
    c.payableHint = QStringLiteral("应付额＜0：表示应退款");
    c.paidCaption = QStringLiteral("实付额");
    c.paidHint = QStringLiteral("正负方向必须跟应付额一致");
    c.priceColumn = QStringLiteral("jj");
    c.codeInWarehouse = true;
    c.addOnEnter = QStringLiteral("sl");
    c.lineCaption = QStringLiteral("修改采购明细");
    c.discountCaption = QStringLiteral("采购单折扣率");
    c.lineMode = QStringLiteral("cgmx");
    c.partyPicker = [](QWidget *parent) -> PartnerPicker * { return new TFghs2(parent); };
    c.chooser = [](QWidget *parent) -> HeldDocumentChooser * { return new TFxzcg1(parent); };
    return c;
}

} // namespace

TFtjcgd1::TFtjcgd1(QWidget *parent) : DocumentEntryWindow(purchase(), parent)
{
    setObjectName(QStringLiteral("TFtjcgd1"));
}
