// The purchase payables "采购应付明细表".
#pragma once

#include "finance/ui/payables_list_window.h"

class TFyffx1 : public PayablesListWindow {
    Q_OBJECT
public:
    explicit TFyffx1(QWidget *parent = nullptr) : PayablesListWindow(SettlementKind::Payment, parent) { setObjectName(QStringLiteral("TFyffx1")); }
};
