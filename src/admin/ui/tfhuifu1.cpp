#include "admin/ui/tfhuifu1.h"

#include "admin/book_maintenance.h"
#include "app/data/dm1.h"
#include "app/prompter.h"

#include <QApplication>
#include <QDir>

TFhuifu1::TFhuifu1(QWidget *parent)
    : BackupFileDialog(QStringLiteral("数据恢复（请先关闭其他窗口）"), QStringLiteral("打开数据备份文件"),
                       QStringLiteral("恢复"), parent)
{
}

QString TFhuifu1::chooseFile() { return askFile(false, BookMaintenance::backupFolder(book()), QString()); }

void TFhuifu1::run(const QString &path)
{
    if (const QString busy = BookMaintenance::othersConnectedRefusal(book()); !busy.isEmpty()) {
        prompt().info(busy);
        return;
    }
    if (!prompt().confirm(BookMaintenance::RestoreQuestion)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    const bool done = BookMaintenance::restore(*DM1::current(), QDir::fromNativeSeparators(path), &why);
    QApplication::restoreOverrideCursor();
    if (!done) {
        qWarning("restore from %s refused: %s", qPrintable(path), qPrintable(why));
        // The book is as it was; the dialog stays for another file.
        prompt().info(BookMaintenance::RestoreFailedMessage);
        return;
    }
    prompt().info(BookMaintenance::RestoreDoneMessage);
    accept();
}
