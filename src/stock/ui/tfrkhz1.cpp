#include "stock/ui/tfrkhz1.h"

#include "app/ui/tfmain1.h"
#include "stock/ui/tfrkfx1.h"

namespace {

LedgerReportWindow::Setup setup()
{
    LedgerReportWindow::Setup s;
    s.mode = LedgerReportWindow::Statistics;
    s.caption = QStringLiteral("库存变动统计表");
    s.ledger = &LedgerKind::stockChanges();
    s.legend = QStringLiteral("数量＜0：变动出库");
    s.partyTitle = QStringLiteral("异动原因");
    s.dialog = {QStringLiteral("TFcxrkhz1"), QStringLiteral("按条件统计"), QStringLiteral("统计"), QStringLiteral("原　因"),
                QStringLiteral("异动入库"), QStringLiteral("异动出库"), false, true, {QStringLiteral("不分组统计"), QStringLiteral("异动原因分组统计"), QStringLiteral("员工分组统计")}};
    s.dialog.datesFirst = false;
    s.printLayout = QStringLiteral("TFdycghz1");
    s.withCost = s.ledger->withCost;
    s.openDetail = []() -> LedgerReportWindow * {
        TFmain1 *main = TFmain1::instance();
        return main ? main->openChild<TFrkfx1>() : nullptr;
    };
    return s;
}

} // namespace

TFrkhz1::TFrkhz1(QWidget *parent) : LedgerReportWindow(setup(), parent) { setObjectName(QStringLiteral("TFrkhz1")); }
