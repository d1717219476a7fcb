#include "finance/ui/analysis_commands.h"

#include "app/ui/tfmain1.h"
#include "finance/ui/tfcgfx1.h"
#include "finance/ui/tfcghz1.h"
#include "finance/ui/tfsztj1.h"
#include "finance/ui/tfxsfx1.h"
#include "finance/ui/tfxshz1.h"
#include "finance/ui/tfxstj3.h"

void registerAnalysisCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("采购明细表"), [&main] { main.openChild<TFcgfx1>(); });
    main.setCommandHandler(QStringLiteral("采购统计表"), [&main] { main.openChild<TFcghz1>(); });
    main.setCommandHandler(QStringLiteral("销售明细表"), [&main] { main.openChild<TFxsfx1>(); });
    main.setCommandHandler(QStringLiteral("销售统计表"), [&main] { main.openChild<TFxshz1>(); });
    main.setCommandHandler(QStringLiteral("员工提成表"), [&main] { main.openChild<TFxstj3>(); });
    main.setCommandHandler(QStringLiteral("进销存财综合统计表"), [&main] { main.openChild<TFsztj1>(); });
}
