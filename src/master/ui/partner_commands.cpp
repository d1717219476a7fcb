#include "master/ui/partner_commands.h"

#include "app/ui/tfmain1.h"
#include "master/ui/tfdanwei1.h"
#include "master/ui/tfghs1.h"
#include "master/ui/tfkh1.h"
#include "master/ui/tfyg1.h"

void registerPartnerCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("厂商资料"), [&main] { main.openChild<TFghs1>(); });
    main.setCommandHandler(QStringLiteral("客户资料"), [&main] { main.openChild<TFkh1>(); });
    main.setCommandHandler(QStringLiteral("员工资料"), [&main] { main.openChild<TFyg1>(); });
    main.setCommandHandler(QStringLiteral("公司信息"), [&main] {
        TFdanwei1 dlg(&main);
        dlg.exec();
    });
}
