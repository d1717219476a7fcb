// Operator dialog: "新增操作员", "修改操作员" (knowing the old password) and "更改我的密码".
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

class TFtjyh1 : public QDialog {
    Q_OBJECT
public:
    explicit TFtjyh1(QWidget *parent = nullptr);

    // Mode "新增操作员": three empty fields; the dialog stays open after each save.
    void startAdding();
    // Mode "修改操作员" for the operator of the list's current row.
    void startModifying(const QString &name);
    // Mode "更改我的密码" for the logged-in operator.
    void startChangingMyPassword(const QString &name);
    QString mode() const;

public slots:
    void save();

protected:
    void showEvent(QShowEvent *e) override;

private:
    void setMode(const QString &mode, const QString &name);

    QLineEdit *st1_ = nullptr;                  // the mode text, hidden
    QLabel *labels_[3] = {};                    // StaticText1, ST3, ST4
    QLineEdit *edit1_ = nullptr, *edit2_ = nullptr, *edit3_ = nullptr;
};
