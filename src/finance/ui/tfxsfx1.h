// The sales detail list 销售明细表: the lines of approved sales and returns; cost and profit for the administrator.
#pragma once

#include "master/ui/ledger_report_window.h"

class TFxsfx1 : public LedgerReportWindow {
    Q_OBJECT
public:
    explicit TFxsfx1(QWidget *parent = nullptr);
};
