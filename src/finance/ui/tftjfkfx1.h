// Entry dialog of a supplier payment "新增付款" / "修改付款".
#pragma once

#include "finance/ui/settlement_entry_dialog.h"

class TFtjfkfx1 : public SettlementEntryDialog {
    Q_OBJECT
public:
    explicit TFtjfkfx1(QWidget *parent = nullptr) : SettlementEntryDialog(SettlementKind::Payment, parent) { setObjectName(QStringLiteral("TFtjfkfx1")); }
};
