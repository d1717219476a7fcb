// The stock change detail 库存变动明细表: the lines of adjustments and transfers.
#pragma once

#include "master/ui/ledger_report_window.h"

class TFrkfx1 : public LedgerReportWindow {
    Q_OBJECT
public:
    explicit TFrkfx1(QWidget *parent = nullptr);
};
