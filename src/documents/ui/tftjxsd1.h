// Retail entry window 零售出库单: goods sold over the counter from one warehouse, to a buyer named or typed.
#pragma once

#include "documents/ui/document_entry_window.h"

class TFtjxsd1 : public DocumentEntryWindow {
    Q_OBJECT
public:
    explicit TFtjxsd1(QWidget *parent = nullptr);
};
