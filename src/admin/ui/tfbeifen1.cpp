#include "admin/ui/tfbeifen1.h"

#include "admin/book_maintenance.h"
#include "app/data/dm1.h"
#include "app/prompter.h"

#include <QApplication>
#include <QDate>
#include <QDir>

TFbeifen1::TFbeifen1(QWidget *parent)
    : BackupFileDialog(QStringLiteral("数据备份（请先关闭其他窗口）"), QStringLiteral("保存数据备份文件"),
                       QStringLiteral("备份"), parent)
{
    folder_ = BookMaintenance::backupFolder(book());
    setPath(QDir(folder_).filePath(BookMaintenance::defaultBackupName(QDate::currentDate())));
}

QString TFbeifen1::chooseFile()
{
    const QString chosen =
        askFile(true, folder_, QStringLiteral("KLV") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    return chosen.isEmpty() ? chosen : BookMaintenance::withBackupExtension(chosen);
}

void TFbeifen1::run(const QString &path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    const bool done = BookMaintenance::backup(book(), QDir::fromNativeSeparators(path), &why);
    QApplication::restoreOverrideCursor();
    if (!done) qWarning("backup to %s failed: %s", qPrintable(path), qPrintable(why));
    prompt().info(done ? BookMaintenance::BackupDoneMessage : BookMaintenance::BackupFailedMessage);
    done ? accept() : reject();
}
