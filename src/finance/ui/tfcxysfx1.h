// Query dialog of the sales receivables.
#pragma once

#include "finance/ui/payables_query_dialog.h"

class TFcxysfx1 : public PayablesQueryDialog {
    Q_OBJECT
public:
    explicit TFcxysfx1(QWidget *parent = nullptr) : PayablesQueryDialog(SettlementKind::Collection, parent) { setObjectName(QStringLiteral("TFcxysfx1")); }
};
