// The stock detail list 库存明细表: goods rows with stock, by category or query, with zeroing,
// prints with and without prices, export, and the doors to assembly and disassembly.
#pragma once

#include "master/goods_picking.h"

#include <QWidget>

#include <functional>

class GoodsCategoryTree;
class QLabel;
class QMenu;
class QSqlQuery;
class QTableView;
class RecordTableModel;

class TFkcfx1 : public QWidget, public StockQueryTarget {
    Q_OBJECT
public:
    explicit TFkcfx1(QWidget *parent = nullptr);

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    GoodsCategoryTree *tree() const { return tree_; }
    QMenu *printMenu() const { return printMenu_; }
    QString quantityText() const;
    QString valueText() const;

    void showCategory(const QString &category);
    void applyStockFilter(const GoodsFilter &filter, const QString &quantityText, const QString &valueText) override;

    void zeroClick();
    void queryClick();
    void printWithPrices();
    void printWithoutPrices();
    void exportClick();
    void assembleClick();
    void disassembleClick();

private:
    void showRows(std::function<QSqlQuery()> query);
    void showZeroed();
    void setTotals(const QString &quantity, const QString &value);
    void print(bool withPrices);
    void openAssembly(bool disassembly);

    GoodsCategoryTree *tree_ = nullptr;
    QTableView *grid_ = nullptr;
    RecordTableModel *model_ = nullptr;
    QLabel *quantity_ = nullptr;
    QLabel *value_ = nullptr;
    QMenu *printMenu_ = nullptr;
    bool prices_ = false;
};
