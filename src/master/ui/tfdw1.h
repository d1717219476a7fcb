// The unit list 计量单位设置, also the picker of a goods unit.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFdw1 : public LookupListWindow {
    Q_OBJECT
public:
    explicit TFdw1(QWidget *parent = nullptr) : LookupListWindow(LookupKind::Unit, parent) { setObjectName(QStringLiteral("TFdw1")); }
};
