// Supplier add/edit dialog "新增厂商资料" / "修改厂商资料".
#pragma once

#include "master/ui/partner_dialog.h"

class TFtjghs1 : public PartnerDialog {
    Q_OBJECT
public:
    explicit TFtjghs1(QWidget *parent = nullptr);
};
