#include "app/ui/application.h"

#include "app/data/database.h"
#include "app/prompter.h"

#include <exception>

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *e)
{
    try {
        return QApplication::notify(receiver, e);
    } catch (const DbError &err) {
        if (err.detail().isEmpty()) prompt().error(err.text());
        else prompt().errorWithDetails(err.text(), err.detail());
    } catch (const std::exception &err) {
        // An amount out of range, a division by zero: the command cannot be done, the book is
        // untouched (its guards rolled back while unwinding), so the operator reads why.
        prompt().error(QString::fromUtf8(err.what()));
    }
    return true;   // the event is spent: nothing else acts on the abandoned command
}
