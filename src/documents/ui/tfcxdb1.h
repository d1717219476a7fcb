// "按条件查询" of the transfer list: transfers by source warehouse, handler, number, state and period.
#pragma once

#include "documents/ui/document_query_dialog.h"

class TFcxdb1 : public DocumentQueryDialog {
    Q_OBJECT
public:
    explicit TFcxdb1(QWidget *parent = nullptr) : DocumentQueryDialog(QStringLiteral("调出仓库"), QStringLiteral("ck1"), parent) {}
};
