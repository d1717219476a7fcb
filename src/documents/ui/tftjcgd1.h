// Purchase entry window 采购入库单: goods bought from a supplier booked into one warehouse.
#pragma once

#include "documents/ui/document_entry_window.h"

class TFtjcgd1 : public DocumentEntryWindow {
    Q_OBJECT
public:
    explicit TFtjcgd1(QWidget *parent = nullptr);
};
