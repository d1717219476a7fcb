#include "admin/ui/admin_commands.h"

#include "admin/ui/tfbeifen1.h"
#include "admin/ui/tfczrz1.h"
#include "admin/ui/tfhuifu1.h"
#include "admin/ui/tflikai1.h"
#include "admin/ui/tfqingkong1.h"
#include "admin/ui/tftjyh1.h"
#include "admin/ui/tfyasuo1.h"
#include "admin/ui/tfyhsz1.h"
#include "app/session.h"
#include "app/ui/tfmain1.h"

#include <QCoreApplication>

namespace {

template <class D> void runModal(TFmain1 &main)
{
    D dlg(&main);
    dlg.exec();
}

// The work stays hidden while the program is locked; giving up the lock ends the program.
void lock(TFmain1 &main)
{
    QWidget *work = main.centralWidget();
    work->hide();
    TFlikai1 dlg(session::current().stYhm1, &main);
    const bool unlocked = dlg.exec() == QDialog::Accepted;
    work->show();
    if (!unlocked) QCoreApplication::exit(0);
}

} // namespace

void registerAdminCommands(TFmain1 &main)
{
    main.setCommandHandler(QStringLiteral("操作员与权限"), [&main] { runModal<TFyhsz1>(main); });
    main.setCommandHandler(QStringLiteral("清空数据库"), [&main] { runModal<TFqingkong1>(main); });
    main.setCommandHandler(QStringLiteral("备份数据库"), [&main] { runModal<TFbeifen1>(main); });
    main.setCommandHandler(QStringLiteral("压缩数据库"), [&main] { runModal<TFyasuo1>(main); });
    main.setCommandHandler(QStringLiteral("恢复数据库"), [&main] {
        TFhuifu1 dlg(&main);
        // The restored book may name another company.
        if (dlg.exec() == QDialog::Accepted) main.formCreate();
    });
    main.setCommandHandler(QStringLiteral("暂时离开系统"), [&main] { lock(main); });
    main.setCommandHandler(QStringLiteral("更改我的密码"), [&main] {
        TFtjyh1 dlg(&main);
        dlg.startChangingMyPassword(session::current().stYhm1);
        dlg.exec();
    });
    main.setCommandHandler(QStringLiteral("操作日志"), [&main] { main.openChild<TFczrz1>(); });
    main.setBackupHandler([&main] { runModal<TFbeifen1>(main); });
}
