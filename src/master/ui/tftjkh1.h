// Customer add/edit dialog "新增客户资料" / "修改客户资料".
#pragma once

#include "master/ui/partner_dialog.h"

class TFtjkh1 : public PartnerDialog {
    Q_OBJECT
public:
    explicit TFtjkh1(QWidget *parent = nullptr);
};
