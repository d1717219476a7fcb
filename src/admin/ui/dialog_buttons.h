// The button row of the administration dialogs: the command (BitBtn1) and "取消" (BitBtn2) at
// the right; "取消" rejects the dialog. Neither takes Enter, which belongs to the fields.
#pragma once

#include <QString>

class QBoxLayout;
class QDialog;
class QPushButton;

struct DialogButtons {
    QPushButton *command;
    QPushButton *cancel;
};

DialogButtons addDialogButtons(QDialog *dialog, QBoxLayout *layout, const QString &command);
