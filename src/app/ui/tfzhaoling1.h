// 计算零钱: the menu tool that works out the change between an amount due and one tendered.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

class TFzhaoling1 : public QWidget {
    Q_OBJECT
public:
    explicit TFzhaoling1(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *e) override;

private:
    void Edit1Change();
    void Edit2Change();
    void showChange();

    QLineEdit *Edit1;   // 应付/应收
    QLineEdit *Edit2;   // 实付/实收
    QLineEdit *Edit3;   // 找零金额
    QPushButton *BitBtn1;
    bool shown_ = false;
};
