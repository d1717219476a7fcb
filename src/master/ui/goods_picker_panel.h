// What the two goods pickers share: the category tree, the grid of one warehouse's goods, the
// search box, the current warehouse, the caller mark and the buttons 选择, 新增, 关闭.
#pragma once

#include "master/goods.h"

#include <QWidget>

class GoodsCategoryTree;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordTableModel;

class GoodsPickerPanel : public QWidget {
    Q_OBJECT
public:
    GoodsPickerPanel(bool assembly, QWidget *parent);

    void setMark(const QString &mark);
    QString mark() const;
    void setWarehouse(const QString &ck);
    QString warehouse() const;

    // The caller's opening query: every goods row of the warehouse.
    void showWarehouse();
    // The search box emptied; with `search`, the emptied text is searched for (TFsp3).
    void clearSearch(bool search);
    // Only the price column named is shown among the four price columns.
    void showPriceColumn(const QString &column);

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    QLineEdit *searchBox() const { return edit1_; }
    QPushButton *chooseButton() const { return choose_; }
    QPushButton *closeButton() const { return close_; }
    // The current row; false when the grid is empty.
    bool current(GoodsRecord *r) const;
    // A goods row saved by the picker's "新增": shown when it is in the current warehouse.
    void addSaved(const GoodsRecord &r);

signals:
    void chooseRequested();

private:
    void search(const QString &text);
    void showCategory(const QString &category);
    void addClick();
    void loaded();

    GoodsCategoryTree *tree_ = nullptr;
    QTableView *grid_ = nullptr;
    RecordTableModel *model_ = nullptr;
    QLineEdit *edit1_ = nullptr;
    QLineEdit *edit2_ = nullptr;
    QLineEdit *xzbj_ = nullptr;
    QPushButton *choose_ = nullptr;
    QPushButton *close_ = nullptr;
};
