// The goods query dialog 按条件查询: filters the goods list (mode "sp") or the stock detail
// list (mode "kc") by category, code, name, warehouse and stock.
#pragma once

#include "master/goods_picking.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

class TFcxsp1 : public QDialog {
    Q_OBJECT
public:
    explicit TFcxsp1(QWidget *parent = nullptr);

    void setTarget(GoodsQueryTarget *target);   // mode "sp"
    void setTarget(StockQueryTarget *target);   // mode "kc"
    QString mode() const;

    GoodsFilter filter() const;
    void queryClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    QLineEdit *st1_ = nullptr;
    QLineEdit *edits_[4] = {};
    QComboBox *stock_ = nullptr;
    GoodsQueryTarget *goods_ = nullptr;
    StockQueryTarget *stockList_ = nullptr;
};
