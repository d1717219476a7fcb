// The warehouse list 仓库设置, also the picker of the warehouse field its opener's mark names.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFck1 : public LookupListWindow {
    Q_OBJECT
public:
    explicit TFck1(QWidget *parent = nullptr) : LookupListWindow(LookupKind::Warehouse, parent) { setObjectName(QStringLiteral("TFck1")); }
};
