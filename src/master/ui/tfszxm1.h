// The income and expense item list 收支项目设置, also the picker of an entry's item.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFszxm1 : public LookupListWindow {
    Q_OBJECT
public:
    explicit TFszxm1(QWidget *parent = nullptr) : LookupListWindow(LookupKind::IncomeExpenseItem, parent) { setObjectName(QStringLiteral("TFszxm1")); }
};
