// "库存异动单据": the adjustment list, with its query, viewer, un-approval and deletion.
#pragma once

#include "documents/ui/document_list_window.h"

class TFrkgl1 : public DocumentListWindow {
    Q_OBJECT
public:
    explicit TFrkgl1(QWidget *parent = nullptr);
};
