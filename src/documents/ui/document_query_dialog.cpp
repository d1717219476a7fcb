#include "documents/ui/document_query_dialog.h"

#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "documents/document_kind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DocumentQueryDialog::DocumentQueryDialog(const QString &partyCaption, const QString &filterColumn, QWidget *parent)
    : QDialog(parent), dates_(DateRange::make(this, QStringLiteral("日期从"))), filterColumn_(filterColumn)
{
    setWindowTitle(QStringLiteral("按条件查询"));
    auto *form = new QGridLayout;
    int row = 0;
    const auto edit = [&](const QString &name, const QString &caption) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        form->addWidget(new QLabel(caption, this), row, 0);
        form->addWidget(e, row++, 1);
        return e;
    };
    party_ = edit(QStringLiteral("Edit1"), partyCaption);
    handler_ = edit(QStringLiteral("Edit2"), QStringLiteral("员　　工"));
    number_ = edit(QStringLiteral("Edit3"), QStringLiteral("单　　号"));
    approval_ = new QComboBox(this);
    approval_->setObjectName(QStringLiteral("ComboBox1"));
    approval_->addItems({QStringLiteral("全部"), DocFlag::NotApproved, DocFlag::Approved});
    form->addWidget(new QLabel(QStringLiteral("审　核"), this), row, 0);
    form->addWidget(approval_, row++, 1);
    row = dates_.place(form, row, QStringLiteral("　　至"));
    debtOnly_ = new QCheckBox(QStringLiteral("只显示欠款单据"), this);
    debtOnly_->setObjectName(QStringLiteral("CheckBox2"));
    form->addWidget(debtOnly_, row++, 0, 1, 2);
    debtOnly_->setVisible(filterColumn_.isEmpty());

    // The walk: the texts, the approval box, the period, the debt box.
    QWidget *order[] = {party_, handler_, number_, approval_, dates_.box, dates_.from, dates_.to, debtOnly_};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    const FormDialogButtons b = layOutFormDialog(this, form, QStringLiteral("查询"), QStringLiteral("BitBtn1"),
                                                 QStringLiteral("BitBtn2"));
    connect(b.main, &QPushButton::clicked, this, &QDialog::accept);
    // The number is usually the last thing typed: Enter there runs the query at once, and
    // Enter in the approval box goes back to the top.
    KeyFlow::onEnter(number_, [m = b.main] {
        m->click();
        return true;
    });
    KeyFlow::onEnter(approval_, [this] {
        party_->setFocus();
        return true;
    });
}

void DocumentQueryDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    party_->clear();
    handler_->clear();
    number_->clear();
    approval_->setCurrentIndex(0);
    dates_.reset();
    debtOnly_->setChecked(false);
    party_->setFocus();
}

DocumentListFilter DocumentQueryDialog::filter() const
{
    DocumentListFilter f;
    f.party = party_->text();
    f.partyColumn = filterColumn_;
    f.handler = handler_->text();
    f.number = number_->text();
    if (approval_->currentIndex() > 0) f.approval = approval_->currentText();
    f.dates = dates_.range();
    f.debtOnly = debtOnly_->isChecked();
    return f;
}
