// Supplier picker "选择厂商资料" for the purchase order (mark "tjcg").
#pragma once

#include "master/ui/partner_book_windows.h"

class TFghs2 : public PartnerBookPicker {
    Q_OBJECT
public:
    explicit TFghs2(QWidget *parent = nullptr);
};
