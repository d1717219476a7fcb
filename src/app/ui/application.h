// The program's application object: a command the book refuses is abandoned, the program goes on.
#pragma once

#include <QApplication>

class Application : public QApplication {
public:
    Application(int &argc, char **argv);

    // Every command an operator starts (menu, button, key, dialog, picker, also inside a modal
    // dialog's own loop) runs from one event delivered here. A database error, or any other
    // failure a command reports by throwing, ends that command with the error box; the
    // transaction it had open has already been rolled back, and every window keeps what it
    // showed.
    bool notify(QObject *receiver, QEvent *e) override;
};
