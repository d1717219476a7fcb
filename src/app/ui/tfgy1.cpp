#include "app/ui/tfgy1.h"

#include "app/ui/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFgy1::TFgy1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFgy1"));
    setWindowTitle(QStringLiteral("关于本软件"));
    auto *picture = new QLabel(this);
    picture->setPixmap(pictures::about(QSize(150, 260)));

    auto *title = new QLabel(QStringLiteral("QuorinMarvoda建材行业版V2011"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    title->setFont(f);
    auto *version = new QLabel(QStringLiteral("版本信息：Build 2011.05.18"), this);
    auto *memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setReadOnly(true);
    memo->setPlainText(QStringLiteral(
        "专为建材经销商设计的进销存财一体化软件：\n"
        "· 商品按仓库管理，移动加权平均成本，库存数量与金额随单据准确变动；\n"
        "· 采购、零售、批发、调拨、异动、组装拆分一应俱全；\n"
        "· 付款、收款、应收应付与其他收支随时可查；\n"
        "· 各类明细表、统计表可打印、可导出电子表格；\n"
        "· 操作员分十二项权限，数据可备份、恢复、压缩与清空。"));
    auto *contact = new QLabel(QStringLiteral("技术支持：请联系您的软件供应商\n用户手册：帮助菜单“操作说明”"), this);
    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *right = new QVBoxLayout;
    right->addWidget(title);
    right->addWidget(version);
    right->addWidget(memo, 1);
    right->addWidget(contact);
    right->addWidget(ok, 0, Qt::AlignRight);
    auto *row = new QHBoxLayout(this);
    row->addWidget(picture);
    row->addLayout(right, 1);
    setFixedSize(560, 300);
}
