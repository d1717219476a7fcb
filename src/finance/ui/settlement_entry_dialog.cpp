#include "finance/ui/settlement_entry_dialog.h"

#include "app/data/dm1.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/number_field.h"
#include "finance/ui/settlement_list_frame.h"
#include "finance/ui/settlement_entry_form.h"
#include "finance/ui/tfxzyf1.h"
#include "finance/ui/tfxzys1.h"
#include "master/ui/tfyg2.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SettlementEntryDialog::SettlementEntryDialog(SettlementKind kind, QWidget *parent)
    : QDialog(parent), service_(book(), kind)
{
    const SettlementConfig &c = config();
    auto *form = new QGridLayout;
    date_ = entry_form::addDate(form, 0, this);

    dh_ = new QLineEdit(this);
    dh_->setObjectName(QStringLiteral("dh"));
    entry_form::addPick(form, 1, QStringLiteral("　　单号"), dh_, c.chooserHint, [this] { openChooser(); },
                            [this] { return partner_->text().trimmed().isEmpty(); });
    connect(dh_, &QLineEdit::textChanged, this, &SettlementEntryDialog::lookUp);

    partner_ = new QLineEdit(this);
    partner_->setObjectName(c.partner);
    partner_->setReadOnly(true);
    entry_form::addRow(form, 2, QStringLiteral("　　") + c.partnerCaption, partner_);
    qk_ = new QLineEdit(this);
    qk_->setObjectName(QStringLiteral("qk"));
    qk_->setReadOnly(true);
    entry_form::addRow(form, 3, QStringLiteral("　　欠款"), qk_);

    amount_ = new QLineEdit(this);
    amount_->setObjectName(c.amountField);
    entry_form::addRow(form, 4, c.amountLabel, amount_);
    // Payments fall back to "0", collections to "0.00", as the two books always did.
    NumberField::attach(amount_, NumberField::Unsigned, NumberField::MayBeEmpty);
    connect(amount_, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (t.trimmed().isEmpty()) amount_->setText(config().emptyAmount);
    });

    jsr_ = new QLineEdit(this);
    jsr_->setObjectName(QStringLiteral("jsr"));
    jsr_->setReadOnly(true);
    entry_form::addPick(form, 5, QStringLiteral("　经办人"), jsr_, QStringLiteral("选择经办人"),
                            [this] { openEmployees(); }, [this] { return jsr_->text().trimmed().isEmpty(); });
    bz_ = new QLineEdit(this);
    bz_->setObjectName(QStringLiteral("bz"));
    entry_form::addRow(form, 6, QStringLiteral("备注说明"), bz_);

    st1_ = new QLabel(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();

    save_ = layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2")).main;
    save_->setToolTip(QStringLiteral("保存并审核"));
    connect(save_, &QPushButton::clicked, this, &SettlementEntryDialog::saveClick);
    resize(360, sizeHint().height());
    setAdding();
}

void SettlementEntryDialog::setAdding()
{
    st1_->setText(QStringLiteral("新增"));
    setWindowTitle(config().addCaption);
    id_ = 0;
    date_->setDate(QDate::currentDate());
    dh_->clear();
    lookUp(QString());
    amount_->setText(QStringLiteral("0"));
    jsr_->clear();
    bz_->clear();
}

void SettlementEntryDialog::setEditing(const SettlementRow &row)
{
    st1_->setText(QStringLiteral("修改"));
    setWindowTitle(config().editCaption);
    id_ = row.id;
    date_->setDate(QDate::fromString(row.rq, QStringLiteral("yyyy-MM-dd")));
    dh_->setText(row.dh);
    lookUp(row.dh);
    partner_->setText(row.partner);
    amount_->setText(row.je.toFixed2());
    jsr_->setText(row.jsr);
    bz_->setText(row.bz);
}

QString SettlementEntryDialog::mode() const { return st1_->text(); }

void SettlementEntryDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    date_->setFocus();
}

void SettlementEntryDialog::lookUp(const QString &dh)
{
    const std::optional<OwedDocument> d = service_.owedDocument(dh);
    partner_->setText(d ? d->partner : QString());
    qk_->setText(d ? d->owed.toPlain() : QStringLiteral("0"));
}

QWidget *SettlementEntryDialog::field(const QString &name) const
{
    for (QWidget *w : {static_cast<QWidget *>(dh_), static_cast<QWidget *>(qk_), static_cast<QWidget *>(amount_),
                       static_cast<QWidget *>(jsr_)})
        if (w->objectName() == name) return w;
    return dh_;
}

void SettlementEntryDialog::saveClick()
{
    NumberField::normalize(amount_);
    const SettlementEntry e{date_->date(),
                            dh_->text(),
                            partner_->text(),
                            Decimal::parseOr0(qk_->text()),
                            NumberField::value(amount_).value_or(Decimal()),
                            jsr_->text(),
                            bz_->text()};
    const std::variant<qint64, Refusal> result = service_.save(e, id_);
    if (auto *r = std::get_if<Refusal>(&result)) {
        r->show();
        field(r->field)->setFocus();
        return;
    }
    emit saved(std::get<qint64>(result));
    if (mode() == QStringLiteral("修改")) {
        accept();
        return;
    }
    // The next payment keeps the day and the handler.
    dh_->clear();
    amount_->setText(QStringLiteral("0"));
    bz_->clear();
    dh_->setFocus();
}

void SettlementEntryDialog::openChooser()
{
    std::unique_ptr<OwedDocumentChooser> chooser;
    if (config().kind == SettlementKind::Payment) chooser = std::make_unique<TFxzyf1>(this);
    else chooser = std::make_unique<TFxzys1>(this);
    chooser->setPreset(partner_->text(), [this](const OwedDocument &d) { documentChosen(d); });
    chooser->exec();
}

void SettlementEntryDialog::documentChosen(const OwedDocument &d)
{
    dh_->setText(d.dh);
    partner_->setText(d.partner);
    qk_->setText(d.owed.toPlain());
}

void SettlementEntryDialog::openEmployees()
{
    TFyg2 picker(this);
    picker.setCaller(this, config().employeeMark);
    picker.exec();
}

void SettlementEntryDialog::partnerChosen(const QString &mark, const QString &name)
{
    if (mark == config().employeeMark) jsr_->setText(name);
}
