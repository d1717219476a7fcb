// The frame of a form dialog: the form, then its main button ("保存", "查询") and "关闭" at the
// right; Enter walks the fields and performs the main button in the last one, Esc closes.
#pragma once

#include <QString>

class QDialog;
class QLayout;
class QPushButton;

struct FormDialogButtons {
    QPushButton *main;
    QPushButton *close;   // rejects the dialog
};

// Lays `form` and the two buttons out on `dialog` and attaches the keys. The caller connects
// the main button. Object names default to the captions.
FormDialogButtons layOutFormDialog(QDialog *dialog, QLayout *form, const QString &mainCaption,
                                   const QString &mainName = QString(), const QString &closeName = QString());
