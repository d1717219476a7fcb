#include "stock/ui/tfrkfx1.h"

namespace {

LedgerReportWindow::Setup setup()
{
    LedgerReportWindow::Setup s;
    s.mode = LedgerReportWindow::Detail;
    s.caption = QStringLiteral("库存变动明细表");
    s.ledger = &LedgerKind::stockChanges();
    s.legend = QStringLiteral("数量＜0：变动出库");
    s.partyTitle = QStringLiteral("变动原因");
    s.dialog = {QStringLiteral("TFcxrkfx1"), QStringLiteral("按条件查询"), QStringLiteral("查询"), QStringLiteral("原　因"),
                QStringLiteral("异动入库"), QStringLiteral("异动出库"), true, true, {}};
    s.dialog.datesFirst = false;
    s.printLayout = QStringLiteral("TFdycgfx1");
    s.withCost = s.ledger->withCost;
    return s;
}

} // namespace

TFrkfx1::TFrkfx1(QWidget *parent) : LedgerReportWindow(setup(), parent) { setObjectName(QStringLiteral("TFrkfx1")); }
