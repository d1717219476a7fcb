// Company information dialog "填写公司信息".
#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;

class TFdanwei1 : public QDialog {
    Q_OBJECT
public:
    explicit TFdanwei1(QWidget *parent = nullptr);

    // Whatever way the dialog closes, the main window's title follows the stored name.
    void done(int result) override;

public slots:
    void save();

protected:
    void showEvent(QShowEvent *e) override;

private:
    QList<QLineEdit *> edits_;   // Edit1 … Edit10, in the order of CompanyInfo::columns()
};
