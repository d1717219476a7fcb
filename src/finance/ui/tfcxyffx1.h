// Query dialog of the purchase payables.
#pragma once

#include "finance/ui/payables_query_dialog.h"

class TFcxyffx1 : public PayablesQueryDialog {
    Q_OBJECT
public:
    explicit TFcxyffx1(QWidget *parent = nullptr) : PayablesQueryDialog(SettlementKind::Payment, parent) { setObjectName(QStringLiteral("TFcxyffx1")); }
};
