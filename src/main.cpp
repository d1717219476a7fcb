// The program: starts the book's windows and plugs each subsystem into the main window.
#include "admin/book_maintenance.h"
#include "admin/ui/takeover_dialog.h"
#include "app/ui/startup.h"
#include "program_commands.h"

int main(int argc, char **argv)
{
    startup::setTakeOver({takeover::commandLine, takeover::offerAtStart, takeover::runWithDialog});
    startup::setBookLoader(&BookMaintenance::loadIntoShared);
    return startup::main(argc, argv, [](TFmain1 &main) { registerProgramCommands(main); });
}
