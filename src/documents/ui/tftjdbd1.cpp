#include "documents/ui/tftjdbd1.h"

#include "documents/ui/tfxzdb1.h"

namespace {

EntryWindowConfig transfer()
{
    EntryWindowConfig c;
    c.type = DocType::Transfer;
    c.mark = QStringLiteral("tjdb");
    c.newCaption = QStringLiteral("新增库存调拨单");
    c.editCaption = QStringLiteral("修改库存调拨单");
    c.priceColumn = QStringLiteral("kcjg");
    // A code names goods in any warehouse: goods may go into a warehouse that lacks them.
    c.codeInWarehouse = false;
    c.addOnEnter = QStringLiteral("sl");
    c.lineCaption = QStringLiteral("修改调拨明细");
    c.lineMode = QStringLiteral("dbmx");
    c.lineShape = {QStringLiteral("TFxgmx3"), false, false, false, QString()};
    c.listFields = {{QStringLiteral("ck1"), QStringLiteral("调出仓库"), QStringLiteral("选择仓库"), QStringLiteral("tjdb1"),
                     LookupKind::Warehouse, false, QStringLiteral("调出仓库不可为空！")},
                    {QStringLiteral("ck2"), QStringLiteral("调入仓库"), QStringLiteral("选择仓库"), QStringLiteral("tjdb2"),
                     LookupKind::Warehouse, false, QString()}};
    c.afterDate = QStringLiteral("ck1");
    c.signedQuantity = false;   // the direction is the pair of warehouses, never the sign
    c.clearedAfterSave = {QStringLiteral("ck2"), QStringLiteral("bz")};
    c.noteEntersLine = true;
    c.chooser = [](QWidget *parent) -> HeldDocumentChooser * { return new TFxzdb1(parent); };
    return c;
}

} // namespace

TFtjdbd1::TFtjdbd1(QWidget *parent) : DocumentEntryWindow(transfer(), parent)
{
    setObjectName(QStringLiteral("TFtjdbd1"));
}
