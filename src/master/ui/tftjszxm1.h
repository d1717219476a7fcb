// Adding income and expense items under 收入 or 支出.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFtjszxm1 : public LookupAddDialog {
    Q_OBJECT
public:
    explicit TFtjszxm1(QWidget *parent = nullptr) : LookupAddDialog(LookupKind::IncomeExpenseItem, parent) { setObjectName(QStringLiteral("TFtjszxm1")); }
};
