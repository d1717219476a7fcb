// The sales receivables "销售应收明细表".
#pragma once

#include "finance/ui/payables_list_window.h"

class TFysfx1 : public PayablesListWindow {
    Q_OBJECT
public:
    explicit TFysfx1(QWidget *parent = nullptr) : PayablesListWindow(SettlementKind::Collection, parent) { setObjectName(QStringLiteral("TFysfx1")); }
};
