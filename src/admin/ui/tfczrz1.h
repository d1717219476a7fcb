// Operation log "操作日志": who approved, deleted, granted, restored or cleared what and when,
// queried by date, operator and action, and exported.
#pragma once

#include "admin/operation_log_query.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QTableView;
class RecordTableModel;

class TFczrz1 : public QWidget {
    Q_OBJECT
public:
    explicit TFczrz1(QWidget *parent = nullptr);

    RecordTableModel *model() const { return model_; }
    LogQuery query() const;

public slots:
    void queryClicked();    // "查询"
    void exportClicked();   // "导出"

protected:
    void showEvent(QShowEvent *e) override;

private:
    QDateEdit *from_ = nullptr, *to_ = nullptr;           // DateTimePicker1, DateTimePicker2
    QComboBox *operators_ = nullptr, *actions_ = nullptr;  // ComboBox1, ComboBox2
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QLabel *count_ = nullptr;
    bool shown_ = false;
};
