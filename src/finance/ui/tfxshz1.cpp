#include "finance/ui/tfxshz1.h"

#include "app/ui/tfmain1.h"
#include "finance/ui/tfxsfx1.h"

namespace {

LedgerReportWindow::Setup setup()
{
    LedgerReportWindow::Setup s;
    s.mode = LedgerReportWindow::Statistics;
    s.caption = QStringLiteral("销售统计表");
    s.ledger = &LedgerKind::sales();
    s.legend = QStringLiteral("数量＜0：销售退货");
    s.partyTitle = QStringLiteral("客户");
    s.dialog = {QStringLiteral("TFcxxshz1"), QStringLiteral("按条件统计"), QStringLiteral("统计"), QStringLiteral("客　户"),
                QStringLiteral("销售出库"), QStringLiteral("销售退货"), true, true, {QStringLiteral("不分组统计"), QStringLiteral("客户分组统计"), QStringLiteral("员工分组统计")}};
    s.printLayout = QStringLiteral("TFdycghz1");
    s.withCost = s.ledger->withCost;
    s.openDetail = []() -> LedgerReportWindow * {
        TFmain1 *main = TFmain1::instance();
        return main ? main->openChild<TFxsfx1>() : nullptr;
    };
    return s;
}

} // namespace

TFxshz1::TFxshz1(QWidget *parent) : LedgerReportWindow(setup(), parent) { setObjectName(QStringLiteral("TFxshz1")); }
