// Employee add/edit dialog "新增员工资料" / "修改员工资料".
#pragma once

#include "master/employee_book.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

class TFtjyg1 : public QDialog {
    Q_OBJECT
public:
    explicit TFtjyg1(QWidget *parent = nullptr);

    // Mode "新增": fields empty, salary "0".
    void startAdding();
    // Mode "修改" with the fields preset from the row.
    void startEditing(const EmployeeRecord &r);
    QString mode() const;
    qint64 savedId() const { return savedId_; }

public slots:
    void save();

private:
    QList<QLineEdit *> edits_;   // Edit1 … Edit8
    QComboBox *sex_ = nullptr;   // ComboBox1
    QLineEdit *st1_ = nullptr;
    qint64 editedId_ = 0;
    qint64 savedId_ = 0;
};
