// The stock change summary 库存变动统计表: stock changes per goods item, by reason or handler.
#pragma once

#include "master/ui/ledger_report_window.h"

class TFrkhz1 : public LedgerReportWindow {
    Q_OBJECT
public:
    explicit TFrkhz1(QWidget *parent = nullptr);
};
