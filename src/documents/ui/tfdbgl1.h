// "库存调拨单据": the transfer list, with its query, viewer, un-approval and deletion.
#pragma once

#include "documents/ui/document_list_window.h"

class TFdbgl1 : public DocumentListWindow {
    Q_OBJECT
public:
    explicit TFdbgl1(QWidget *parent = nullptr);
};
