// Query dialog "按条件查询" of the employee list.
#pragma once

#include "master/employee_book.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

class TFcxyg1 : public QDialog {
    Q_OBJECT
public:
    explicit TFcxyg1(QWidget *parent = nullptr);

    // The boxes as typed; read by the list after "查询" accepted the dialog.
    EmployeeFilter filter() const;

protected:
    void showEvent(QShowEvent *e) override;

private:
    QLineEdit *name_ = nullptr;
    QComboBox *sex_ = nullptr;
    QLineEdit *dept_ = nullptr;
    QLineEdit *phone_ = nullptr;
};
