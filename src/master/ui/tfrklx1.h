// The stock-adjustment reason list 异动原因设置, also the picker of an adjustment's reason.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFrklx1 : public LookupListWindow {
    Q_OBJECT
public:
    explicit TFrklx1(QWidget *parent = nullptr) : LookupListWindow(LookupKind::AdjustmentReason, parent) { setObjectName(QStringLiteral("TFrklx1")); }
};
