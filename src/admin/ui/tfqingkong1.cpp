#include "admin/ui/tfqingkong1.h"

#include "admin/book_clearing.h"
#include "admin/book_maintenance.h"
#include "admin/ui/dialog_buttons.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFqingkong1::TFqingkong1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("数据清空（请先关闭其他窗口）"));
    auto *layout = new QVBoxLayout(this);
    int n = 0;
    for (const BookClearing::Group &g : BookClearing::groups()) {
        auto *box = new QCheckBox(g.caption, this);
        box->setObjectName(QStringLiteral("CB%1").arg(++n));
        layout->addWidget(box);
        boxes_ << box;
    }
    layout->addSpacing(8);
    const DialogButtons buttons = addDialogButtons(this, layout, QStringLiteral("清除"));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.command, &QPushButton::clicked, this, &TFqingkong1::clearClicked);
    KeyFlow::escCloses(this, buttons.cancel);
}

void TFqingkong1::clearClicked()
{
    QList<int> ticked;
    for (int i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]->isChecked()) ticked << i;
    if (const QString busy = ticked.isEmpty() ? QString() : BookMaintenance::othersConnectedRefusal(book());
        !busy.isEmpty()) {
        prompt().info(busy);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        BookClearing::clear(book(), ticked);
    } catch (const DbError &err) {
        // Nothing was cleared: the whole clearing is one transaction.
        QApplication::restoreOverrideCursor();
        prompt().error(err.text());
        return;
    }
    QApplication::restoreOverrideCursor();
    prompt().info(BookClearing::DoneMessage);
    accept();
}
