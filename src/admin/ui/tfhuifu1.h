// Restore dialog "数据恢复（请先关闭其他窗口）": replaces the book by a checked backup file.
#pragma once

#include "admin/ui/backup_file_dialog.h"

class TFhuifu1 : public BackupFileDialog {
    Q_OBJECT
public:
    explicit TFhuifu1(QWidget *parent = nullptr);

protected:
    QString chooseFile() override;
    void run(const QString &path) override;
};
