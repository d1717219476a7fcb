// "浏览销售出库单": a retail or wholesale document read only, walked over the rows of the list
// that opened it.
#pragma once

#include "documents/ui/document_viewer.h"

class TFllxsd1 : public DocumentViewer {
    Q_OBJECT
public:
    explicit TFllxsd1(QWidget *parent = nullptr)
        : DocumentViewer({DocType::Retail, QStringLiteral("浏览销售出库单"), QStringLiteral("销售出库单"),
                          QStringLiteral("客户"), QStringLiteral("应收额"), QStringLiteral("实收额")},
                         parent)
    {
    }
};
