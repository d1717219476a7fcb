#include "master/ui/tftjyg1.h"

#include "app/data/dm1.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"
#include "master/ui/partner_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Edit1 … Edit8 and the columns they edit; the sex drop-down sits between Edit1 and Edit2.
const char *const editColumns[] = {"xm", "zw", "bm", "dh", "dz", "jbgz", "sfz", "bz"};
constexpr int salaryEdit = 5;
constexpr int identityEdit = 6;
} // namespace

TFtjyg1::TFtjyg1(QWidget *parent) : QDialog(parent)
{
    auto *form = new QGridLayout;
    const QStringList captions = {"姓名", "职务", "部门", "联系电话", "联系住址", "基本工资", "身份证号", "备注说明"};
    edits_ << partner_form::addField(form, this, QStringLiteral("Edit1"), captions[0]);
    sex_ = new QComboBox(this);
    sex_->setObjectName(QStringLiteral("ComboBox1"));
    sex_->setEditable(true);
    sex_->addItems(EmployeeBook::Sexes);
    sex_->setCurrentIndex(-1);
    const int sexRow = form->rowCount();
    form->addWidget(new QLabel(partner_form::label(QStringLiteral("性别")), this), sexRow, 0);
    form->addWidget(sex_, sexRow, 1);
    for (int i = 1; i < captions.size(); ++i)
        edits_ << partner_form::addField(form, this, QStringLiteral("Edit%1").arg(i + 1), captions[i]);
    NumberField::attach(edits_[salaryEdit], NumberField::Unsigned, NumberField::ZeroWhenEmpty);
    NumberField::attach(edits_[identityEdit], NumberField::Digits, NumberField::MayBeEmpty);

    st1_ = new QLineEdit(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();

    auto *saveButton = layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"),
                                   QStringLiteral("BitBtn2")).main;
    connect(saveButton, &QPushButton::clicked, this, &TFtjyg1::save);
    startAdding();
}

QString TFtjyg1::mode() const { return st1_->text(); }

void TFtjyg1::startAdding()
{
    setWindowTitle(QStringLiteral("新增员工资料"));
    st1_->setText(QStringLiteral("新增"));
    editedId_ = 0;
    for (QLineEdit *e : edits_) e->clear();
    edits_[salaryEdit]->setText(QStringLiteral("0"));
    edits_.first()->setFocus();
}

void TFtjyg1::startEditing(const EmployeeRecord &r)
{
    setWindowTitle(QStringLiteral("修改员工资料"));
    st1_->setText(QStringLiteral("修改"));
    editedId_ = r.id;
    for (int i = 0; i < edits_.size(); ++i)
        edits_[i]->setText(i == salaryEdit ? r.jbgz.toPlain() : r.value(QString::fromLatin1(editColumns[i])));
    sex_->setCurrentText(r.xb);
    edits_.first()->setFocus();
}

void TFtjyg1::save()
{
    NumberField::normalize(edits_[salaryEdit]);
    EmployeeRecord r;
    r.id = editedId_;
    for (int i = 0; i < edits_.size(); ++i)
        if (i != salaryEdit) r.setValue(QString::fromLatin1(editColumns[i]), edits_[i]->text());
    r.xb = sex_->currentText();
    // A field holding only a point or nothing counts as no salary.
    r.jbgz = NumberField::value(edits_[salaryEdit]).value_or(Decimal());

    EmployeeBook staff(book());
    const bool adding = mode() != QStringLiteral("修改");
    qint64 id = r.id;
    const std::optional<Refusal> refused = adding ? staff.add(r, &id) : staff.update(r);
    if (refused) {
        refused->show();
        if (refused->field == QStringLiteral("xb")) sex_->setFocus();
        else edits_.first()->setFocus();
        return;
    }
    savedId_ = id;
    if (!adding) {
        accept();
        return;
    }
    // The sex stays chosen for the next entry.
    for (QLineEdit *e : edits_) e->clear();
    edits_[salaryEdit]->setText(QStringLiteral("0"));
    edits_.first()->setFocus();
}
