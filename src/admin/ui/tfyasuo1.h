// Compaction dialog "压缩数据（请先关闭其他窗口）": rebuilds the book without its free space.
#pragma once

#include <QDialog>

class TFyasuo1 : public QDialog {
    Q_OBJECT
public:
    explicit TFyasuo1(QWidget *parent = nullptr);

public slots:
    void compactClicked();   // "压缩"
};
