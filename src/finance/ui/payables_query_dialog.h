// The query dialog of the payables or receivables (TFcxyffx1 / TFcxysfx1).
#pragma once

#include "finance/payables.h"
#include "finance/ui/settlement_query_dialog.h"

class PayablesQueryDialog : public MoneyQueryDialog {
    Q_OBJECT
public:
    PayablesFilter filter() const;

protected:
    PayablesQueryDialog(SettlementKind side, QWidget *parent);
};
