#include "master/ui/partner_dialog.h"

#include "app/data/dm1.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"
#include "master/ui/partner_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PartnerDialog::PartnerDialog(const PartnerConfig &config, QWidget *parent) : QDialog(parent), config_(config)
{
    auto *form = new QGridLayout;
    const QStringList captions = {"名称", "联系人", "联系电话", "联系地址", "传真号码",
                                  "邮政编码", "开户银行", "银行帐号", "备注说明"};
    for (int i = 0; i < captions.size(); ++i)
        edits_ << partner_form::addField(form, this, QStringLiteral("Edit%1").arg(i + 1), captions[i]);

    QLineEdit *postcode = field(QStringLiteral("yb"));
    postcode->setMaxLength(6);
    NumberField::attach(postcode, NumberField::Digits, NumberField::MayBeEmpty);

    st1_ = new QLineEdit(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();

    saveButton_ = layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"),
                                   QStringLiteral("BitBtn2")).main;
    connect(saveButton_, &QPushButton::clicked, this, &PartnerDialog::save);
    startAdding();
}

QLineEdit *PartnerDialog::field(const QString &column) const
{
    return edits_.value(PartnerRecord::columns().indexOf(column));
}

QString PartnerDialog::mode() const { return st1_->text(); }

void PartnerDialog::startAdding()
{
    setWindowTitle(config_.addCaption);
    st1_->setText(AddMode);
    editedId_ = 0;
    for (QLineEdit *e : edits_) e->clear();
    edits_.first()->setFocus();
}

void PartnerDialog::startEditing(const PartnerRecord &r)
{
    setWindowTitle(config_.editCaption);
    st1_->setText(EditMode);
    editedId_ = r.id;
    for (const QString &c : PartnerRecord::columns()) field(c)->setText(r.value(c));
    edits_.first()->setFocus();
}

void PartnerDialog::save()
{
    PartnerRecord r;
    r.id = editedId_;
    for (const QString &c : PartnerRecord::columns()) r.setValue(c, field(c)->text());
    PartnerBook partners(book(), config_);
    const bool adding = mode() != EditMode;
    qint64 id = r.id;
    const std::optional<Refusal> refused = adding ? partners.add(r, &id) : partners.update(r);
    if (refused) {
        refused->show();
        if (QLineEdit *e = field(refused->field)) e->setFocus();
        return;
    }
    savedId_ = id;
    if (adding) {
        for (QLineEdit *e : edits_) e->clear();
        edits_.first()->setFocus();
    } else {
        accept();
    }
}
