// The list of customer collections "销售收款明细表".
#pragma once

#include "finance/ui/settlement_list_window.h"

class TFskfx1 : public SettlementListWindow {
    Q_OBJECT
public:
    explicit TFskfx1(QWidget *parent = nullptr) : SettlementListWindow(SettlementKind::Collection, parent) { setObjectName(QStringLiteral("TFskfx1")); }
};
