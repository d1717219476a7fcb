#include "finance/ui/tfcghz1.h"

#include "app/ui/tfmain1.h"
#include "finance/ui/tfcgfx1.h"

namespace {

LedgerReportWindow::Setup setup()
{
    LedgerReportWindow::Setup s;
    s.mode = LedgerReportWindow::Statistics;
    s.caption = QStringLiteral("采购统计表");
    s.ledger = &LedgerKind::purchases();
    s.legend = QStringLiteral("数量＜0：采购退货");
    s.partyTitle = QStringLiteral("厂商");
    s.dialog = {QStringLiteral("TFcxcghz1"), QStringLiteral("按条件统计"), QStringLiteral("统计"), QStringLiteral("厂　商"),
                QStringLiteral("采购入库"), QStringLiteral("采购退货"), true, true, {QStringLiteral("不分组统计"), QStringLiteral("厂商分组统计"), QStringLiteral("员工分组统计")}};
    s.printLayout = QStringLiteral("TFdycghz1");
    s.withCost = s.ledger->withCost;
    s.openDetail = []() -> LedgerReportWindow * {
        TFmain1 *main = TFmain1::instance();
        return main ? main->openChild<TFcgfx1>() : nullptr;
    };
    return s;
}

} // namespace

TFcghz1::TFcghz1(QWidget *parent) : LedgerReportWindow(setup(), parent) { setObjectName(QStringLiteral("TFcghz1")); }
