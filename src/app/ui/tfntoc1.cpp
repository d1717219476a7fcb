#include "app/ui/tfntoc1.h"

#include "app/prompter.h"
#include "app/text/amount_to_capitals.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
const QString amountFormatError = QStringLiteral("金额格式不正确！");
}

TFntoc1::TFntoc1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFntoc1"));
    setWindowTitle(QStringLiteral("人民币大小写转换"));
    setAttribute(Qt::WA_DeleteOnClose);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit2->setMinimumWidth(360);
    BitBtn1 = new QPushButton(QStringLiteral("转换"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("金额小写"), this), 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("金额大写"), this), 1, 0);
    fields->addWidget(Edit2, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    // The field may be cleared while typing; it becomes "0.00" only when left.
    NumberField::attach(Edit1, NumberField::Unsigned, NumberField::MayBeEmpty);
    KeyFlow::enterMovesFocus(this, BitBtn1);
    KeyFlow::escCloses(this, BitBtn2);
    connect(Edit1, &QLineEdit::editingFinished, this, &TFntoc1::Edit1Exit);
    connect(BitBtn1, &QPushButton::clicked, this, &TFntoc1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
}

void TFntoc1::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (shown_) return;   // shown again after being minimised: keep what the operator typed
    shown_ = true;
    Edit1->setText(QStringLiteral("0.00"));
    Edit2->setText(QStringLiteral("零"));
    Edit1->setFocus();
    Edit1->selectAll();
}

void TFntoc1::Edit1Exit()
{
    if (Edit1->text().trimmed().isEmpty()) Edit1->setText(QStringLiteral("0.00"));
    if (const auto v = NumberField::value(Edit1)) Edit1->setText(v->toFixed2());
}

void TFntoc1::BitBtn1Click()
{
    if (Edit1->text().trimmed().isEmpty()) {
        prompt().info(QStringLiteral("小写金额不可为空！"));
        Edit1->setFocus();
        return;
    }
    const auto v = NumberField::value(Edit1);
    if (!v) {
        prompt().warn(amountFormatError);
        Edit1->setFocus();
        return;
    }
    const QString capitals = AmountToCapitals(v->abs());
    Edit2->setText(v->isNegative() && !v->round2().isZero() ? QStringLiteral("负") + capitals : capitals);
}
