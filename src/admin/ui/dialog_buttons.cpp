#include "admin/ui/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

DialogButtons addDialogButtons(QDialog *dialog, QBoxLayout *layout, const QString &command)
{
    DialogButtons b{new QPushButton(command, dialog), new QPushButton(QStringLiteral("取消"), dialog)};
    b.command->setObjectName(QStringLiteral("BitBtn1"));
    b.cancel->setObjectName(QStringLiteral("BitBtn2"));
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *p : {b.command, b.cancel}) {
        p->setAutoDefault(false);
        row->addWidget(p);
    }
    layout->addLayout(row);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}
