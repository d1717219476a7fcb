// Query dialog of the customer collections.
#pragma once

#include "finance/ui/settlement_query_dialog.h"

class TFcxskfx1 : public SettlementQueryDialog {
    Q_OBJECT
public:
    explicit TFcxskfx1(QWidget *parent = nullptr) : SettlementQueryDialog(SettlementKind::Collection, parent) { setObjectName(QStringLiteral("TFcxskfx1")); }
};
