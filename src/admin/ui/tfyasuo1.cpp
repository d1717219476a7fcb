#include "admin/ui/tfyasuo1.h"

#include "admin/book_maintenance.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFyasuo1::TFyasuo1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("压缩数据（请先关闭其他窗口）"));
    auto *compact = new QPushButton(QStringLiteral("压缩"), this);
    compact->setObjectName(QStringLiteral("BitBtn1"));
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton *b : {compact, cancel}) b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(compact);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("1、压缩数据能有效减少数据文件大小，提高软件运行速度"), this));
    layout->addWidget(new QLabel(QStringLiteral("2、软件使用一段时间后，数据会越来越多，文件越来越大"), this));
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(compact, &QPushButton::clicked, this, &TFyasuo1::compactClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    KeyFlow::escCloses(this, cancel);
    compact->setFocus();
}

void TFyasuo1::compactClicked()
{
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
