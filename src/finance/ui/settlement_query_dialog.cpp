#include "finance/ui/settlement_query_dialog.h"

#include "app/widgets/form_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

MoneyQueryDialog::MoneyQueryDialog(const QList<std::pair<QString, QStringList>> &combos, const QStringList &texts,
                                   QWidget *parent)
    : QDialog(parent), dates_(DateRange::make(this, QStringLiteral("日期从")))
{
    setWindowTitle(QStringLiteral("按条件查询"));
    auto *form = new QGridLayout;
    int row = dates_.place(form, 0, QStringLiteral("　　至"));
    for (const auto &[caption, items] : combos) {
        auto *c = new QComboBox(this);
        c->setObjectName(QStringLiteral("ComboBox%1").arg(combos_.size() + 1));
        c->addItems(items);
        form->addWidget(new QLabel(caption, this), row, 0);
        form->addWidget(c, row++, 1);
        combos_ << c;
    }
    for (const QString &caption : texts) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("Edit%1").arg(edits_.size() + 1));
        form->addWidget(new QLabel(caption, this), row, 0);
        form->addWidget(e, row++, 1);
        edits_ << e;
    }
    const FormDialogButtons b = layOutFormDialog(this, form, QStringLiteral("查询"), QStringLiteral("BitBtn1"),
                                                 QStringLiteral("BitBtn2"));
    connect(b.main, &QPushButton::clicked, this, &QDialog::accept);
    reset();
}

void MoneyQueryDialog::reset()
{
    dates_.reset();
    for (QComboBox *c : combos_) c->setCurrentIndex(0);
    for (QLineEdit *e : edits_) e->clear();
}

void MoneyQueryDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!edits_.isEmpty()) edits_.first()->setFocus();
}

SettlementQueryDialog::SettlementQueryDialog(SettlementKind kind, QWidget *parent)
    : MoneyQueryDialog({{QStringLiteral("审　核"), {QStringLiteral("全部"), QStringLiteral("未审核"), QStringLiteral("已审核")}},
                        {QStringLiteral("类　型"),
                         {QStringLiteral("全部"), SettlementConfig::of(kind).positiveType, SettlementConfig::of(kind).negativeType}}},
                       {kind == SettlementKind::Payment ? QStringLiteral("厂　　商") : QStringLiteral("客　　户"),
                        QStringLiteral("员　　工"), QStringLiteral("单　　号")},
                       parent)
{
}

SettlementFilter SettlementQueryDialog::filter() const
{
    SettlementFilter f;
    f.matchTexts = true;
    f.partner = text(0)->text();
    f.employee = text(1)->text();
    f.dh = text(2)->text();
    f.approval = SettlementFilter::Approval(combo(0)->currentIndex());
    f.direction = SettlementFilter::Direction(combo(1)->currentIndex());
    f.dates = dates().range();
    return f;
}
