// Supplier list "厂商资料".
#pragma once

#include "master/ui/partner_book_windows.h"

class TFghs1 : public PartnerBookListWindow {
    Q_OBJECT
public:
    explicit TFghs1(QWidget *parent = nullptr);
};
