#include "master/ui/tfdanwei1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/ui/tfmain1.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "master/company_info.h"
#include "master/ui/partner_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFdanwei1::TFdanwei1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("填写公司信息"));
    auto *form = new QGridLayout;
    const QStringList captions = {"公司名称", "打印抬头", "负责人", "电话", "传真", "地址", "备注1", "备注2"};
    for (int i = 0; i < captions.size(); ++i) {
        edits_ << partner_form::addField(form, this, QStringLiteral("Edit%1").arg(i + 1), captions[i]);
        edits_.last()->setMinimumWidth(320);
    }
    const int row = form->rowCount();
    form->addWidget(new QLabel(QStringLiteral("销售单据脚注（上下两行）"), this), row, 0, 1, 2);
    for (int i = 9; i <= 10; ++i) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("Edit%1").arg(i));
        form->addWidget(e, form->rowCount(), 0, 1, 2);
        edits_ << e;
    }

    auto *saveButton = layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"),
                                   QStringLiteral("BitBtn2")).main;
    connect(saveButton, &QPushButton::clicked, this, &TFdanwei1::save);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFdanwei1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    try {
        const CompanyInfo info = company::load(book());
        for (int i = 0; i < edits_.size(); ++i) edits_[i]->setText(info.value(CompanyInfo::columns()[i]));
    } catch (const DbError &err) {
        prompt().warn(err.text());
    }
    edits_.first()->setFocus();
}

void TFdanwei1::save()
{
    CompanyInfo info;
    for (int i = 0; i < edits_.size(); ++i) info.setValue(CompanyInfo::columns()[i], edits_[i]->text());
    const std::optional<Refusal> refused = company::save(book(), info);
    if (refused) {
        prompt().info(refused->message);
        edits_.value(CompanyInfo::columns().indexOf(refused->field))->setFocus();
        return;
    }
    accept();
}

void TFdanwei1::done(int result)
{
    QDialog::done(result);
    if (TFmain1 *main = TFmain1::instance()) main->formCreate();
}
