// "按条件查询" of the adjustment list: adjustments by reason, handler, number, state and period.
#pragma once

#include "documents/ui/document_query_dialog.h"

class TFcxrk1 : public DocumentQueryDialog {
    Q_OBJECT
public:
    explicit TFcxrk1(QWidget *parent = nullptr) : DocumentQueryDialog(QStringLiteral("类　　型"), QStringLiteral("lx"), parent) {}
};
