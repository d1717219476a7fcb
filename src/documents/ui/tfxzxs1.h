// Chooser of held sales documents 选择销售挂单（未审销售单）: the retail counter ("tjxs") sees only
// its retail documents, the wholesale desk ("tjpf") only its wholesale orders.
#pragma once

#include "documents/ui/held_document_chooser.h"

class TFxzxs1 : public HeldDocumentChooser {
    Q_OBJECT
public:
    TFxzxs1(const QString &mark, QWidget *parent = nullptr)
        : HeldDocumentChooser({mark == u"tjpf" ? DocType::Wholesale : DocType::Retail,
                               QStringLiteral("选择销售挂单（未审销售单）"), QStringLiteral("客户"), QString()},
                              parent)
    {
        setObjectName(QStringLiteral("TFxzxs1"));
    }
};
