// The program: starts the book's windows and plugs each subsystem into the main window.
#include "app/ui/message_box_prompter.h"
#include "app/ui/startup.h"
#include "app/ui/tfmain1.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    MessageBoxPrompter prompter;
    Prompter::install(&prompter);
    const int rc = startup::run(QCoreApplication::arguments(), [](TFmain1 &) {});
    Prompter::install(nullptr);
    return rc;
}
