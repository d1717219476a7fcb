#include "master/ui/tfcxyg1.h"

#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "master/ui/partner_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFcxyg1::TFcxyg1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("按条件查询"));
    auto *form = new QGridLayout;
    name_ = partner_form::addField(form, this, QStringLiteral("Edit1"), QStringLiteral("姓名"));
    sex_ = new QComboBox(this);
    sex_->setObjectName(QStringLiteral("ComboBox1"));
    sex_->addItems({QStringLiteral("全部"), QStringLiteral("男"), QStringLiteral("女")});
    const int row = form->rowCount();
    form->addWidget(new QLabel(partner_form::label(QStringLiteral("性别")), this), row, 0);
    form->addWidget(sex_, row, 1);
    dept_ = partner_form::addField(form, this, QStringLiteral("Edit2"), QStringLiteral("部门"));
    phone_ = partner_form::addField(form, this, QStringLiteral("Edit3"), QStringLiteral("联系电话"));

    auto *run = layOutFormDialog(this, form, QStringLiteral("查询"), QStringLiteral("BitBtn1"),
                                 QStringLiteral("BitBtn2")).main;
    connect(run, &QPushButton::clicked, this, &QDialog::accept);
}

EmployeeFilter TFcxyg1::filter() const
{
    return {name_->text(), EmployeeFilter::Sex(qBound(0, sex_->currentIndex(), 2)), dept_->text(), phone_->text()};
}

void TFcxyg1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    sex_->setCurrentIndex(0);
    name_->setFocus();
}
