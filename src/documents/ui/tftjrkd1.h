// Adjustment entry window 库存异动单: goods booked into (quantity above 0) or out of (below 0)
// one warehouse for a reason outside trade.
#pragma once

#include "documents/ui/document_entry_window.h"

class TFtjrkd1 : public DocumentEntryWindow {
    Q_OBJECT
public:
    explicit TFtjrkd1(QWidget *parent = nullptr);
};
