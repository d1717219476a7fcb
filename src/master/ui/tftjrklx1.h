// Adding stock-adjustment reasons.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFtjrklx1 : public LookupAddDialog {
    Q_OBJECT
public:
    explicit TFtjrklx1(QWidget *parent = nullptr) : LookupAddDialog(LookupKind::AdjustmentReason, parent) { setObjectName(QStringLiteral("TFtjrklx1")); }
};
