// Chooser of held adjustments 选择异动挂单（未审异动单）, found by reason and date.
#pragma once

#include "documents/ui/held_document_chooser.h"

class TFxzrk1 : public HeldDocumentChooser {
    Q_OBJECT
public:
    explicit TFxzrk1(QWidget *parent = nullptr)
        : HeldDocumentChooser({DocType::Adjustment, QStringLiteral("选择异动挂单（未审异动单）"), QStringLiteral("原因"), QString(),
                               QStringLiteral("lx"), {{"lx", "异动原因"}}},
                              parent)
    {
        setObjectName(QStringLiteral("TFxzrk1"));
    }
};
