#include "finance/ui/tfxsfx1.h"

namespace {

LedgerReportWindow::Setup setup()
{
    LedgerReportWindow::Setup s;
    s.mode = LedgerReportWindow::Detail;
    s.caption = QStringLiteral("销售明细表");
    s.ledger = &LedgerKind::sales();
    s.legend = QStringLiteral("数量＜0：销售退货");
    s.partyTitle = QStringLiteral("客户");
    s.dialog = {QStringLiteral("TFcxxsfx1"), QStringLiteral("按条件查询"), QStringLiteral("查询"), QStringLiteral("客　户"),
                QStringLiteral("销售出库"), QStringLiteral("销售退货"), true, false, {}};
    s.printLayout = QStringLiteral("TFdycgfx1");
    s.withCost = s.ledger->withCost;
    return s;
}

} // namespace

TFxsfx1::TFxsfx1(QWidget *parent) : LedgerReportWindow(setup(), parent) { setObjectName(QStringLiteral("TFxsfx1")); }
