// 人民币大小写转换: the menu tool that writes an amount in Chinese capitals.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

class TFntoc1 : public QWidget {
    Q_OBJECT
public:
    explicit TFntoc1(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *e) override;

private:
    void BitBtn1Click();   // 转换
    void Edit1Exit();

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    bool shown_ = false;
};
