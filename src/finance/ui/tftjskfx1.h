// Entry dialog of a customer collection "新增收款" / "修改收款".
#pragma once

#include "finance/ui/settlement_entry_dialog.h"

class TFtjskfx1 : public SettlementEntryDialog {
    Q_OBJECT
public:
    explicit TFtjskfx1(QWidget *parent = nullptr) : SettlementEntryDialog(SettlementKind::Collection, parent) { setObjectName(QStringLiteral("TFtjskfx1")); }
};
