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
#include <QList>
#include <QPushButton>

#include <utility>

DocumentQueryDialog::DocumentQueryDialog(const QString &partyCaption, const QString &filterColumn, QWidget *parent)
    : QDialog(parent), dates_(DateRange::make(this, QStringLiteral("日期从"))), filterColumn_(filterColumn)
{
    setWindowTitle(QStringLiteral("按条件查询"));
    auto *form = new QGridLayout;
    int row = 0;
    const auto edit = [this](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    party_ = edit(QStringLiteral("Edit1"));
    handler_ = edit(QStringLiteral("Edit2"));
    number_ = edit(QStringLiteral("Edit3"));
    approval_ = new QComboBox(this);
    approval_->setObjectName(QStringLiteral("ComboBox1"));
    approval_->addItems({QStringLiteral("全部"), DocFlag::NotApproved, DocFlag::Approved});
    debtOnly_ = new QCheckBox(QStringLiteral("只显示欠款单据"), this);
    debtOnly_->setObjectName(QStringLiteral("CheckBox2"));
    debtOnly_->setVisible(filterColumn_.isEmpty());
    const auto texts = [&] {
        const std::pair<QLineEdit *, QString> rows[] = {
            {party_, partyCaption}, {handler_, QStringLiteral("员　　工")}, {number_, QStringLiteral("单　　号")}};
        for (const auto &[e, caption] : rows) {
            form->addWidget(new QLabel(caption, this), row, 0);
            form->addWidget(e, row++, 1);
        }
    };
    const auto approvalRow = [&] {
        form->addWidget(new QLabel(QStringLiteral("审　核"), this), row, 0);
        form->addWidget(approval_, row++, 1);
    };

    // The walk, top to bottom. A trade list is searched by its party first; a stock list by its
    // period first, ending in the texts, so Enter in the number runs the query either way.
    QList<QWidget *> order;
    if (filterColumn_.isEmpty()) {
        texts();
        approvalRow();
        row = dates_.place(form, row, QStringLiteral("　　至"));
        form->addWidget(debtOnly_, row++, 0, 1, 2);
        order = {party_, handler_, number_, approval_, dates_.box, dates_.from, dates_.to, debtOnly_};
    } else {
        row = dates_.place(form, row, QStringLiteral("　　至"));
        approvalRow();
        texts();
        form->addWidget(debtOnly_, row++, 0, 1, 2);
        order = {dates_.box, dates_.from, dates_.to, approval_, party_, handler_, number_};
    }
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    const FormDialogButtons b = layOutFormDialog(this, form, QStringLiteral("查询"), QStringLiteral("BitBtn1"),
                                                 QStringLiteral("BitBtn2"));
    connect(b.main, &QPushButton::clicked, this, &QDialog::accept);
    // The number is usually the last thing typed: Enter there runs the query at once, and
    // Enter in the approval box goes to the party (back to the top of a trade list's form).
    KeyFlow::onEnter(number_, [m = b.main] {
        m->click();
        return true;
    });
    KeyFlow::onEnter(approval_, [this] {
        party_->setFocus(Qt::TabFocusReason);
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
