// Adding and renaming a goods category.
#pragma once

#include "master/ui/lookup_list_window.h"

class TFtjlb1 : public LookupAddDialog {
    Q_OBJECT
public:
    explicit TFtjlb1(QWidget *parent = nullptr) : LookupAddDialog(LookupKind::Category, parent) { setObjectName(QStringLiteral("TFtjlb1")); }
};
