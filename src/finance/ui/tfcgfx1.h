// The purchase detail list 采购明细表: the lines of approved purchases and returns.
#pragma once

#include "master/ui/ledger_report_window.h"

class TFcgfx1 : public LedgerReportWindow {
    Q_OBJECT
public:
    explicit TFcgfx1(QWidget *parent = nullptr);
};
