// "浏览库存异动单": an adjustment read only, walked over the rows of the list that opened it.
#pragma once

#include "documents/ui/document_viewer.h"

class TFllrkd1 : public DocumentViewer {
    Q_OBJECT
public:
    explicit TFllrkd1(QWidget *parent = nullptr)
        : DocumentViewer({DocType::Adjustment, QStringLiteral("浏览库存异动单"), QStringLiteral("库存异动单"), {}, {}, {},
                          {{"rq", "日期"}, {"dh", "单号"}, {"ck", "仓库"}, {"lx", "异动原因"}, {"jsr", "经办人"}, {"bz", "备注"}},
                          QStringLiteral("    数量＞0：入库    数量＜0：出库")},
                         parent)
    {
    }
};
