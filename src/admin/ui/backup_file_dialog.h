// The frame the backup and restore dialogs share: a label, the file path with its browse
// button, the command button and "取消". Enter in the path runs the command, or browses when
// the path is blank; a blank path is refused with "数据库备份文件不可为空！" and the browse opens.
#pragma once

#include <QDialog>

class QLineEdit;

class BackupFileDialog : public QDialog {
    Q_OBJECT
public:
    QString path() const;
    void setPath(const QString &path);

public slots:
    void runClicked();   // "备份" / "恢复"
    void browse();       // SpeedButton1

protected:
    BackupFileDialog(const QString &caption, const QString &label, const QString &command, QWidget *parent);

    // The file the operator picks in the file dialog, or an empty text when he cancels.
    virtual QString chooseFile() = 0;
    // The command on a path that is not blank.
    virtual void run(const QString &path) = 0;

    // A file dialog over the backup folder, filtered to backup files; the caller sets it up.
    QString askFile(bool saving, const QString &folder, const QString &name);

    QLineEdit *edit_ = nullptr;
};
