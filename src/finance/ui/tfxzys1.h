// Chooser of owed sales documents "选择应收帐单（销售欠款单）".
#pragma once

#include "finance/ui/settlement_chooser.h"

class TFxzys1 : public OwedDocumentChooser {
    Q_OBJECT
public:
    explicit TFxzys1(QWidget *parent = nullptr) : OwedDocumentChooser(SettlementKind::Collection, parent) { setObjectName(QStringLiteral("TFxzys1")); }
};
