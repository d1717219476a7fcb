// Permission editor "权限设置": the twelve permissions of one operator, granted all at once.
#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;

class TFquanxian1 : public QDialog {
    Q_OBJECT
public:
    explicit TFquanxian1(QWidget *parent = nullptr);

public slots:
    void grantClicked();   // "授权"
    void tickAll(bool on);  // "全选" / "全否": the screen only

private:
    void showHeld();

    QComboBox *operators_ = nullptr;
    QList<QCheckBox *> boxes_;   // CheckBox1 … CheckBox12, in the order of the permissions
};
