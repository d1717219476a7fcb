// Employee list "员工资料".
#pragma once

#include "master/ui/partner_list_window.h"

class TFyg1 : public PartnerListWindow {
    Q_OBJECT
public:
    explicit TFyg1(QWidget *parent = nullptr);

protected:
    QSqlQuery allRows() override;
    qint64 openDialog(qint64 id) override;
    Rows openQuery() override;
    void removeRecord(qint64 id) override;
    bool openImport() override;
};
