// Chooser of held transfers 选择调拨挂单（未审调拨单）, found by source warehouse and date.
#pragma once

#include "documents/ui/held_document_chooser.h"

class TFxzdb1 : public HeldDocumentChooser {
    Q_OBJECT
public:
    explicit TFxzdb1(QWidget *parent = nullptr)
        : HeldDocumentChooser({DocType::Transfer, QStringLiteral("选择调拨挂单（未审调拨单）"), QStringLiteral("仓库"), QString(),
                               QStringLiteral("ck1"), {{"ck1", "调出仓库"}, {"ck2", "调入仓库"}}},
                              parent)
    {
        setObjectName(QStringLiteral("TFxzdb1"));
    }
};
