#include "documents/ui/sales_entry_config.h"

#include "documents/ui/tfxzxs1.h"
#include "master/ui/tfkh2.h"

EntryWindowConfig salesEntryConfig(DocType type)
{
    const bool retail = type == DocType::Retail;
    EntryWindowConfig c;
    c.type = type;
    c.mark = retail ? QStringLiteral("tjxs") : QStringLiteral("tjpf");
    c.newCaption = retail ? QStringLiteral("新增零售出库单") : QStringLiteral("新增批发出库单");
    c.editCaption = retail ? QStringLiteral("修改零售出库单") : QStringLiteral("修改批发出库单");
    c.partyCaption = QStringLiteral("客户");
    c.partyPickHint = QStringLiteral("选择客户");
    // A walk-in buyer is named on the sale only; a wholesale customer must be on the books.
    c.partyTyped = retail;
    c.partyHint = retail ? QStringLiteral("直接录入客户，不进入客户资料表") : QString();
    c.payableCaption = QStringLiteral("应收额");
    c.payableHint = QStringLiteral("应收额＜0：表示应退款");
    c.paidCaption = QStringLiteral("实收额");
    c.paidHint = retail ? QString() : QStringLiteral("正负方向必须跟应收额一致");
    c.priceColumn = retail ? QStringLiteral("xjls") : QStringLiteral("xjpf");
    // Goods are sold by their code wherever they lie; a code in two warehouses is picked instead.
    c.codeInWarehouse = false;
    c.addOnEnter = QStringLiteral("sl");
    c.priceAdds = true;
    c.lineCaption = retail ? QStringLiteral("修改零售明细") : QStringLiteral("修改批发明细");
    c.discountCaption = retail ? QStringLiteral("零售单折扣率") : QStringLiteral("批发单折扣率");
    c.lineMode = retail ? QStringLiteral("xsmx") : QStringLiteral("pfmx");
    c.partyPicker = [](QWidget *parent) -> PartnerPicker * { return new TFkh2(parent); };
    c.chooser = [mark = c.mark](QWidget *parent) -> HeldDocumentChooser * { return new TFxzxs1(mark, parent); };
    return c;
}
