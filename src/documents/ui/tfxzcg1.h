// Chooser of held purchase documents 选择采购挂单（未审采购单）.
#pragma once

#include "documents/ui/held_document_chooser.h"

class TFxzcg1 : public HeldDocumentChooser {
    Q_OBJECT
public:
    explicit TFxzcg1(QWidget *parent = nullptr)
        : HeldDocumentChooser({DocType::Purchase, QStringLiteral("选择采购挂单（未审采购单）"), QStringLiteral("厂商"), QString()}, parent)
    {
        setObjectName(QStringLiteral("TFxzcg1"));
    }
};
