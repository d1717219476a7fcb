#include "master/ui/tfcxghs1.h"

#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "master/ui/partner_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFcxghs1::TFcxghs1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("按条件查询"));
    auto *form = new QGridLayout;
    const QStringList captions = {"名称", "联系人", "联系电话", "联系地址"};
    for (int i = 0; i < captions.size(); ++i)
        boxes_ << partner_form::addField(form, this, QStringLiteral("Edit%1").arg(i + 1), captions[i]);
    st1_ = new QLineEdit(QStringLiteral("ghs"), this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();

    auto *run = layOutFormDialog(this, form, QStringLiteral("查询"), QStringLiteral("BitBtn1"),
                                 QStringLiteral("BitBtn2")).main;
    connect(run, &QPushButton::clicked, this, &QDialog::accept);
}

void TFcxghs1::setMode(const QString &table) { st1_->setText(table); }

QString TFcxghs1::mode() const { return st1_->text(); }

PartnerFilter TFcxghs1::filter() const
{
    return {boxes_[0]->text(), boxes_[1]->text(), boxes_[2]->text(), boxes_[3]->text()};
}

void TFcxghs1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    for (QLineEdit *b : boxes_) b->clear();
    boxes_.first()->setFocus();
}
