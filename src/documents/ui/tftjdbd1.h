// Transfer entry window 库存调拨单: goods moved from a source warehouse into a target warehouse.
#pragma once

#include "documents/ui/document_entry_window.h"

class TFtjdbd1 : public DocumentEntryWindow {
    Q_OBJECT
public:
    explicit TFtjdbd1(QWidget *parent = nullptr);
};
