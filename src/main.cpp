// The program: starts the book's windows and plugs each subsystem into the main window.
#include "app/ui/startup.h"
#include "app/ui/tfmain1.h"
#include "print/print_layouts.h"

int main(int argc, char **argv)
{
    return startup::main(argc, argv, [](TFmain1 &) {
        PrintLayouts::createAll();
    });
}
