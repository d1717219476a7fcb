// The program: starts the book's windows and plugs each subsystem into the main window.
#include "app/ui/startup.h"
#include "app/ui/tfmain1.h"

int main(int argc, char **argv)
{
    return startup::main(argc, argv, [](TFmain1 &) {});
}
