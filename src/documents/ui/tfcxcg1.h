// "按条件查询" of the purchase document list: documents by supplier, handler, number, state,
// period and debt.
#pragma once

#include "documents/ui/document_query_dialog.h"

class TFcxcg1 : public DocumentQueryDialog {
    Q_OBJECT
public:
    explicit TFcxcg1(QWidget *parent = nullptr) : DocumentQueryDialog(QStringLiteral("厂　　商"), parent) {}
};
