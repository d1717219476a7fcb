// Query dialog of the supplier payments.
#pragma once

#include "finance/ui/settlement_query_dialog.h"

class TFcxfkfx1 : public SettlementQueryDialog {
    Q_OBJECT
public:
    explicit TFcxfkfx1(QWidget *parent = nullptr) : SettlementQueryDialog(SettlementKind::Payment, parent) { setObjectName(QStringLiteral("TFcxfkfx1")); }
};
