#include "finance/ui/finance_commands.h"

#include "app/ui/tfmain1.h"
#include "finance/ui/tffkfx1.h"
#include "finance/ui/tfskfx1.h"
#include "finance/ui/tfszfx1.h"
#include "finance/ui/tfyffx1.h"
#include "finance/ui/tfysfx1.h"

void registerFinanceCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("采购应付明细表"), [&main] { main.openChild<TFyffx1>(); });
    main.setCommandHandler(QStringLiteral("销售应收明细表"), [&main] { main.openChild<TFysfx1>(); });
    main.setCommandHandler(QStringLiteral("采购付款明细表"), [&main] { main.openChild<TFfkfx1>(); });
    main.setCommandHandler(QStringLiteral("销售收款明细表"), [&main] { main.openChild<TFskfx1>(); });
    main.setCommandHandler(QStringLiteral("其他收支明细表"), [&main] { main.openChild<TFszfx1>(); });
}
