// The named fields of a dialog in the order Tab takes them, for checking a form's field order.
#pragma once

#include <QStringList>
#include <QWidget>

inline QStringList tabOrder(QWidget *dialog, const QStringList &names)
{
    QStringList out;
    for (QWidget *w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain())
        if (names.contains(w->objectName()) && !out.contains(w->objectName())) out << w->objectName();
    return out;
}

// The named fields of the ledger report query dialogs.
inline const QStringList &reportQueryFields()
{
    static const QStringList fields = {"ComboBox1", "Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "CheckBox1",
                                       "DateTimePicker1", "DateTimePicker2", "RB1", "RB2", "RB3"};
    return fields;
}
