// "按条件查询" of the sales document list: retail and wholesale documents by customer, handler,
// number (its prefix picks one kind), state, period and debt.
#pragma once

#include "documents/ui/document_query_dialog.h"

class TFcxxs1 : public DocumentQueryDialog {
    Q_OBJECT
public:
    explicit TFcxxs1(QWidget *parent = nullptr) : DocumentQueryDialog(QStringLiteral("客　　户"), parent) {}
};
