#include "app/ui/tfzhaoling1.h"

#include "app/prompter.h"
#include "app/text/decimal.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFzhaoling1::TFzhaoling1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFzhaoling1"));
    setWindowTitle(QStringLiteral("计算零钱"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto field = [this](const char *name) {
        auto *e = new QLineEdit(QStringLiteral("0"), this);
        e->setObjectName(QString::fromLatin1(name));
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    Edit1 = field("Edit1");
    Edit2 = field("Edit2");
    Edit3 = field("Edit3");
    Edit3->setReadOnly(true);
    BitBtn1 = new QPushButton(QStringLiteral("关闭"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("应付/应收"), this), 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("实付/实收"), this), 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("找零金额"), this), 2, 0);
    fields->addWidget(Edit3, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    NumberField::attach(Edit1, NumberField::Signed);
    NumberField::attach(Edit2, NumberField::Signed);
    // Enter in the amount due moves to the amount tendered; there it does nothing.
    KeyFlow::enterMovesFocus(this, nullptr);
    KeyFlow::escCloses(this, BitBtn1);
    connect(Edit1, &QLineEdit::textChanged, this, &TFzhaoling1::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TFzhaoling1::Edit2Change);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
}

void TFzhaoling1::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (shown_) return;
    shown_ = true;
    Edit1->setFocus();
}

void TFzhaoling1::Edit1Change()
{
    if (Edit1->text().trimmed() == u"-") {
        Edit3->setText(Edit2->text());
        return;
    }
    showChange();
}

void TFzhaoling1::Edit2Change()
{
    if (Edit2->text().trimmed() == u"-") {
        Edit3->setText(QStringLiteral("0"));
        return;
    }
    showChange();
}

void TFzhaoling1::showChange()
{
    const auto due = NumberField::value(Edit1);
    const auto tendered = NumberField::value(Edit2);
    if (!due || !tendered) {
        // A "-" after the digits, or a lone "-" in the other field: the change stays as it was.
        prompt().warn(QStringLiteral("金额格式不正确！"));
        return;
    }
    try {
        Edit3->setText((*tendered - *due).toFixed2());
    } catch (const DecimalOverflow &) {
        prompt().warn(QStringLiteral("金额格式不正确！"));
    }
}
