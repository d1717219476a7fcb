// The program: starts the book's windows and plugs each subsystem into the main window.
#include "app/ui/startup.h"
#include "program_commands.h"

int main(int argc, char **argv)
{
    return startup::main(argc, argv, [](TFmain1 &main) { registerProgramCommands(main); });
}
