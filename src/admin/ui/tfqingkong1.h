// Clearing dialog "数据清空（请先关闭其他窗口）": empties the ticked groups of tables.
#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;

class TFqingkong1 : public QDialog {
    Q_OBJECT
public:
    explicit TFqingkong1(QWidget *parent = nullptr);

public slots:
    void clearClicked();   // "清除"

private:
    QList<QCheckBox *> boxes_;   // CB1 … CB5
};
