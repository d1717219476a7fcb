// Customer picker "选择客户资料" for the retail sale and the wholesale order (marks "tjxs", "tjpf").
#pragma once

#include "master/ui/partner_book_windows.h"

class TFkh2 : public PartnerBookPicker {
    Q_OBJECT
public:
    explicit TFkh2(QWidget *parent = nullptr);
};
