// Customer list "客户资料".
#pragma once

#include "master/ui/partner_book_windows.h"

class TFkh1 : public PartnerBookListWindow {
    Q_OBJECT
public:
    explicit TFkh1(QWidget *parent = nullptr);
};
