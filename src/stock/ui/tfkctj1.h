// The goods statistics 商品进销存统计表: purchases, sales and stock changes per goods item and
// the balance, for all time or a period.
#pragma once

#include "app/widgets/date_range.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTableView;
class RecordTableModel;

class TFkctj1 : public QWidget {
    Q_OBJECT
public:
    explicit TFkctj1(QWidget *parent = nullptr);

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    QLineEdit *filterEdit() const { return edit1_; }
    const DateRange &dates() const { return dates_; }
    QString quantityText() const;
    QString valueText() const;

    void computeClick();
    void printClick();
    void exportClick();

private:
    QLineEdit *edit1_ = nullptr;
    DateRange dates_;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QLabel *quantity_ = nullptr;
    QLabel *value_ = nullptr;
};
