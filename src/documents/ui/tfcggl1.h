// "采购单据": the purchase document list, with its query, viewer, un-approval and deletion.
#pragma once

#include "documents/ui/document_list_window.h"

class TFcggl1 : public DocumentListWindow {
    Q_OBJECT
public:
    explicit TFcggl1(QWidget *parent = nullptr);
};
