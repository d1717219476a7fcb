#include "master/ui/goods_commands.h"

#include "app/ui/tfmain1.h"
#include "master/ui/tfsp1.h"

void registerGoodsCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("商品资料"), [&main] { main.openChild<TFsp1>(); });
}
