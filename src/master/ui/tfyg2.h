// Employee picker "选择员工资料": fills the handler `jsr` of the eight document windows.
#pragma once

#include "master/ui/partner_picker.h"

class TFyg2 : public PartnerPicker {
    Q_OBJECT
public:
    explicit TFyg2(QWidget *parent = nullptr);

protected:
    QSqlQuery rowsOnShow() override;
    QSqlQuery rowsFor(const QString &typed) override;
    void openAddDialog() override;
};
