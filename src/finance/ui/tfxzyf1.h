// Chooser of owed purchase documents "选择应付帐单（采购欠款单）".
#pragma once

#include "finance/ui/settlement_chooser.h"

class TFxzyf1 : public OwedDocumentChooser {
    Q_OBJECT
public:
    explicit TFxzyf1(QWidget *parent = nullptr) : OwedDocumentChooser(SettlementKind::Payment, parent) { setObjectName(QStringLiteral("TFxzyf1")); }
};
