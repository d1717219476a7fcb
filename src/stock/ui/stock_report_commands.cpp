#include "stock/ui/stock_report_commands.h"

#include "app/ui/tfmain1.h"
#include "stock/ui/tfkcfx1.h"
#include "stock/ui/tfkctj1.h"
#include "stock/ui/tfrkfx1.h"
#include "stock/ui/tfrkhz1.h"

void registerStockReportCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("商品库存明细表"), [&main] { main.openChild<TFkcfx1>(); });
    main.setCommandHandler(QStringLiteral("商品进销存统计表"), [&main] { main.openChild<TFkctj1>(); });
    main.setCommandHandler(QStringLiteral("变动明细表"), [&main] { main.openChild<TFrkfx1>(); });
    main.setCommandHandler(QStringLiteral("变动统计表"), [&main] { main.openChild<TFrkhz1>(); });
}
