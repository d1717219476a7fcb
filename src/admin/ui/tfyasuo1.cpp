#include "admin/ui/tfyasuo1.h"

#include "admin/book_maintenance.h"
#include "admin/ui/dialog_buttons.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFyasuo1::TFyasuo1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("压缩数据（请先关闭其他窗口）"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("1、压缩数据能有效减少数据文件大小，提高软件运行速度"), this));
    layout->addWidget(new QLabel(QStringLiteral("2、软件使用一段时间后，数据会越来越多，文件越来越大"), this));
    layout->addSpacing(8);
    const DialogButtons buttons = addDialogButtons(this, layout, QStringLiteral("压缩"));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.command, &QPushButton::clicked, this, &TFyasuo1::compactClicked);
    KeyFlow::escCloses(this, buttons.cancel);
    buttons.command->setFocus();
}

void TFyasuo1::compactClicked()
{
    if (const QString busy = BookMaintenance::othersConnectedRefusal(book()); !busy.isEmpty()) {
        prompt().info(busy);
        return;
    }
    if (!prompt().confirm(BookMaintenance::CompactQuestion)) {
        reject();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    const bool done = BookMaintenance::compact(*DM1::current(), &why);
    QApplication::restoreOverrideCursor();
    if (!done) qWarning("compaction failed: %s", qPrintable(why));
    prompt().info(done ? BookMaintenance::CompactDoneMessage : BookMaintenance::CompactFailedMessage);
    done ? accept() : reject();
}
