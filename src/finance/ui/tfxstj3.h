// The employee commission table 员工提成表: per handler, the commission on quantities and on
// amounts sold, for all time or a period.
#pragma once

#include "app/widgets/date_range.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTableView;
class RecordTableModel;

class TFxstj3 : public QWidget {
    Q_OBJECT
public:
    explicit TFxstj3(QWidget *parent = nullptr);

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    QLineEdit *employeeEdit() const { return edit_; }
    const DateRange &dates() const { return dates_; }
    QString totalText(int i) const;

    void computeClick();
    void printClick();
    void exportClick();

private:
    QLineEdit *edit_ = nullptr;
    DateRange dates_;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QList<QLabel *> totals_;
};
