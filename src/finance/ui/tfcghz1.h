// The purchase statistics 采购统计表: purchases per goods item, by supplier or handler.
#pragma once

#include "master/ui/ledger_report_window.h"

class TFcghz1 : public LedgerReportWindow {
    Q_OBJECT
public:
    explicit TFcghz1(QWidget *parent = nullptr);
};
