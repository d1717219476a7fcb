#include "documents/ui/line_dialogs.h"

#include <QLineEdit>

namespace LineDialogs {

QLineEdit *modeLabel(QWidget *dialog)
{
    auto *st1 = new QLineEdit(dialog);
    st1->setObjectName(QStringLiteral("ST1"));
    st1->setReadOnly(true);
    st1->hide();
    return st1;
}

} // namespace LineDialogs
