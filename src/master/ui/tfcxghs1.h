// Query dialog "按条件查询" of the supplier and customer lists (mode "ghs" or "kh").
#pragma once

#include "master/partner_book.h"

#include <QDialog>

class QLineEdit;

class TFcxghs1 : public QDialog {
    Q_OBJECT
public:
    explicit TFcxghs1(QWidget *parent = nullptr);

    void setMode(const QString &table);   // "ghs" or "kh"
    QString mode() const;
    // The boxes as typed; read by the list after "查询" accepted the dialog.
    PartnerFilter filter() const;

protected:
    void showEvent(QShowEvent *e) override;

private:
    QList<QLineEdit *> boxes_;
    QLineEdit *st1_ = nullptr;
};
