// The program: starts the book's windows and plugs each subsystem into the main window.
#include "admin/book_maintenance.h"
#include "admin/ui/admin_commands.h"
#include "app/ui/startup.h"
#include "app/ui/tfmain1.h"
#include "app/ui/tfntoc1.h"
#include "app/ui/tfzhaoling1.h"
#include "documents/ui/document_commands.h"
#include "finance/ui/analysis_commands.h"
#include "finance/ui/finance_commands.h"
#include "master/ui/goods_commands.h"
#include "master/ui/partner_commands.h"
#include "print/print_layouts.h"
#include "stock/ui/stock_report_commands.h"

int main(int argc, char **argv)
{
    startup::setBookLoader(&BookMaintenance::loadIntoShared);
    return startup::main(argc, argv, [](TFmain1 &main) {
        PrintLayouts::createAll();
        main.setCommandHandler(QStringLiteral("金额大小写转换"), [&main] { main.openChild<TFntoc1>(); });
        main.setCommandHandler(QStringLiteral("找零钱工具"), [&main] { main.openChild<TFzhaoling1>(); });
        registerGoodsCommands(main);
        registerPartnerCommands(main);
        registerDocumentCommands(main);
        registerAdminCommands(main);
        registerFinanceCommands(main);
        registerStockReportCommands(main);
        registerAnalysisCommands(main);
    });
}
