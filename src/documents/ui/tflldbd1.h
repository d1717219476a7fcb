// "浏览库存调拨单": a transfer read only, walked over the rows of the list that opened it.
#pragma once

#include "documents/ui/document_viewer.h"

class TFlldbd1 : public DocumentViewer {
    Q_OBJECT
public:
    explicit TFlldbd1(QWidget *parent = nullptr)
        : DocumentViewer({DocType::Transfer, QStringLiteral("浏览库存调拨单"), QStringLiteral("库存调拨单"), {}, {}, {},
                          {{"rq", "日期"}, {"dh", "单号"}, {"ck1", "调出仓库"}, {"ck2", "调入仓库"}, {"jsr", "经办人"}, {"bz", "备注"}}},
                         parent)
    {
    }
};
