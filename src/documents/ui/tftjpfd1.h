// Wholesale entry window 批发出库单: goods sold at the wholesale price to a customer on the books.
#pragma once

#include "documents/ui/document_entry_window.h"

class TFtjpfd1 : public DocumentEntryWindow {
    Q_OBJECT
public:
    explicit TFtjpfd1(QWidget *parent = nullptr);
};
