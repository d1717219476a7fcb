// Backup dialog "数据备份（请先关闭其他窗口）": a checked copy of the book to a ".bak" file.
#pragma once

#include "admin/ui/backup_file_dialog.h"

class TFbeifen1 : public BackupFileDialog {
    Q_OBJECT
public:
    explicit TFbeifen1(QWidget *parent = nullptr);

protected:
    QString chooseFile() override;
    void run(const QString &path) override;

private:
    QString folder_;
};
