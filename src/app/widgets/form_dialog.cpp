#include "app/widgets/form_dialog.h"

#include "app/widgets/key_flow.h"
#include "app/widgets/text_field.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

FormDialogButtons layOutFormDialog(QDialog *dialog, QLayout *form, const QString &mainCaption,
                                   const QString &mainName, const QString &closeName)
{
    const QString closeCaption = QStringLiteral("关闭");
    auto *main = new QPushButton(mainCaption, dialog);
    main->setObjectName(mainName.isEmpty() ? mainCaption : mainName);
    auto *close = new QPushButton(closeCaption, dialog);
    close->setObjectName(closeName.isEmpty() ? closeCaption : closeName);
    // Enter belongs to the field walk, never to a default button.
    for (QPushButton *b : {main, close}) b->setAutoDefault(false);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(main);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addLayout(buttons);

    KeyFlow::enterMovesFocus(dialog, main);
    KeyFlow::escCloses(dialog, close);
    TextField::guardAll(dialog);
    return {main, close};
}
