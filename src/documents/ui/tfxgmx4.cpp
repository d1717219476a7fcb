#include "documents/ui/tfxgmx4.h"

#include "app/prompter.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/number_field.h"
#include "documents/line_buffer.h"
#include "documents/ui/line_dialogs.h"
#include "master/goods_picking.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFxgmx4::TFxgmx4(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFxgmx4"));
    st1_ = LineDialogs::modeLabel(this);
    zk_ = new QLineEdit(QStringLiteral("1"), this);
    zk_->setObjectName(QStringLiteral("zk"));
    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("整单折扣率"), this), 0, 0);
    form->addWidget(zk_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("（无折扣填写1，八折填写0.8，九折填写0.9）"), this), 1, 0, 1, 2);
    const FormDialogButtons b = layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2"));
    connect(b.main, &QPushButton::clicked, this, &TFxgmx4::saveClick);
}

QString TFxgmx4::mode() const { return st1_->text(); }

void TFxgmx4::edit(const QString &mode, LineBuffer &lines, GoodsLineCaller &caller)
{
    st1_->setText(mode);
    lines_ = &lines;
    caller_ = &caller;
    zk_->setText(QStringLiteral("1"));
}

void TFxgmx4::saveClick()
{
    if (zk_->text().trimmed().isEmpty()) zk_->setText(LineDialogs::NoRate);
    // The box takes any text; a rate that is not a number changes no line.
    const std::optional<Decimal> typed = Decimal::parse(zk_->text().trimmed());
    if (!typed) {
        prompt().error(LineDialogs::RateNotNumber);
        zk_->setFocus();
        return;
    }
    NumberField::normalize(zk_);
    const Decimal rate = Decimal::parseOr0(zk_->text().trimmed());
    if (rate.isZero()) {
        prompt().info(LineDialogs::ZeroRate);
        zk_->setFocus();
        return;
    }
    if (!lines_) return;
    lines_->discountAll(rate);
    caller_->recomputeTotals();
    accept();
}
