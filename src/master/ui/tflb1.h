// The category list 商品类别设置, also the picker of a goods category.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFlb1 : public LookupListWindow {
    Q_OBJECT
public:
    explicit TFlb1(QWidget *parent = nullptr) : LookupListWindow(LookupKind::Category, parent) { setObjectName(QStringLiteral("TFlb1")); }
};
