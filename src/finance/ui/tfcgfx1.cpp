#include "finance/ui/tfcgfx1.h"

namespace {

LedgerReportWindow::Setup setup()
{
    LedgerReportWindow::Setup s;
    s.mode = LedgerReportWindow::Detail;
    s.caption = QStringLiteral("采购明细表");
    s.ledger = &LedgerKind::purchases();
    s.legend = QStringLiteral("数量＜0：采购退货");
    s.partyTitle = QStringLiteral("厂商");
    s.dialog = {QStringLiteral("TFcxcgfx1"), QStringLiteral("按条件查询"), QStringLiteral("查询"), QStringLiteral("厂　商"),
                QStringLiteral("采购入库"), QStringLiteral("采购退货"), true, true, {}};
    s.printLayout = QStringLiteral("TFdycgfx1");
    s.withCost = s.ledger->withCost;
    return s;
}

} // namespace

TFcgfx1::TFcgfx1(QWidget *parent) : LedgerReportWindow(setup(), parent) { setObjectName(QStringLiteral("TFcgfx1")); }
