// The sales statistics 销售统计表: sales per goods item, by customer or handler; cost and profit for the administrator.
#pragma once

#include "master/ui/ledger_report_window.h"

class TFxshz1 : public LedgerReportWindow {
    Q_OBJECT
public:
    explicit TFxshz1(QWidget *parent = nullptr);
};
