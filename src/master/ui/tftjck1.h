// Adding and renaming a warehouse.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFtjck1 : public LookupAddDialog {
    Q_OBJECT
public:
    explicit TFtjck1(QWidget *parent = nullptr) : LookupAddDialog(LookupKind::Warehouse, parent) { setObjectName(QStringLiteral("TFtjck1")); }
};
