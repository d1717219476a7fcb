// Query dialog of other income and expense.
#pragma once

#include "finance/income_expense.h"
#include "finance/ui/settlement_query_dialog.h"

class TFcxszfx1 : public MoneyQueryDialog {
    Q_OBJECT
public:
    explicit TFcxszfx1(QWidget *parent = nullptr);
    IncomeExpenseFilter filter() const;
};
