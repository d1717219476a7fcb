// "浏览采购入库单": a purchase document read only, walked over the rows of the list that opened it.
#pragma once

#include "documents/ui/document_viewer.h"

class TFllcgd1 : public DocumentViewer {
    Q_OBJECT
public:
    explicit TFllcgd1(QWidget *parent = nullptr)
        : DocumentViewer({DocType::Purchase, QStringLiteral("浏览采购入库单"), QStringLiteral("采购入库单"),
                          QStringLiteral("厂商"), QStringLiteral("应付额"), QStringLiteral("实付额")},
                         parent)
    {
    }
};
