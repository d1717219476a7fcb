// The list of supplier payments "采购付款明细表".
#pragma once

#include "finance/ui/settlement_list_window.h"

class TFfkfx1 : public SettlementListWindow {
    Q_OBJECT
public:
    explicit TFfkfx1(QWidget *parent = nullptr) : SettlementListWindow(SettlementKind::Payment, parent) { setObjectName(QStringLiteral("TFfkfx1")); }
};
