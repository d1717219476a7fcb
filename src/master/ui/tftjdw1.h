// Adding and renaming a unit of measure.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFtjdw1 : public LookupAddDialog {
    Q_OBJECT
public:
    explicit TFtjdw1(QWidget *parent = nullptr) : LookupAddDialog(LookupKind::Unit, parent) { setObjectName(QStringLiteral("TFtjdw1")); }
};
