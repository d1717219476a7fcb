// The goods list 商品资料: the catalogue with its category tree, add, edit, delete, query,
// print, export, import and the regeneration of goods codes.
#pragma once

#include "master/goods_picking.h"

#include <QWidget>

#include <functional>

class GoodsCategoryTree;
class QLabel;
class QTableView;
class RecordTableModel;

class TFsp1 : public QWidget, public GoodsQueryTarget {
    Q_OBJECT
public:
    explicit TFsp1(QWidget *parent = nullptr);

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    QString recordCountText() const;

    void importClick();
    void addClick();
    void editClick();
    void deleteClick();
    void queryClick();
    void printClick();
    void exportClick();
    void regenerateCodesClick();

    void applyGoodsFilter(const GoodsFilter &filter) override;
    void showCategory(const QString &category);

private:
    // Loads the rows of `query` and remembers it, so edits can show the same rows again.
    void showRows(std::function<QSqlQuery()> query);
    void updateCount();
    int currentRow() const;

    GoodsCategoryTree *tree_ = nullptr;
    QTableView *grid_ = nullptr;
    RecordTableModel *model_ = nullptr;
    QLabel *hj_ = nullptr;
    std::function<QSqlQuery()> lastQuery_;
};
