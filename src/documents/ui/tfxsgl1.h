// "销售单据": retail sales and wholesale orders in one list, with its query, viewer,
// un-approval and deletion.
#pragma once

#include "documents/ui/document_list_window.h"

class TFxsgl1 : public DocumentListWindow {
    Q_OBJECT
public:
    explicit TFxsgl1(QWidget *parent = nullptr);
};
