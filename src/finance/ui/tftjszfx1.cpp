#include "finance/ui/tftjszfx1.h"

#include "app/data/dm1.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/number_field.h"
#include "finance/ui/settlement_list_frame.h"
#include "finance/ui/settlement_entry_form.h"
#include "master/ui/lookup_list_window.h"
#include "master/ui/tfyg2.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString Mark = QStringLiteral("tjszfx");
}

TFtjszfx1::TFtjszfx1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFtjszfx1"));
    auto *form = new QGridLayout;
    date_ = entry_form::addDate(form, 0, this);
    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("ComboBox1"));
    category_->setEditable(true);
    category_->addItems({IncomeExpenseBook::Income, IncomeExpenseBook::Expense});
    entry_form::addRow(form, 1, QStringLiteral("　　类别"), category_);
    xm_ = new QLineEdit(this);
    xm_->setObjectName(QStringLiteral("xm"));
    xm_->setReadOnly(true);
    entry_form::addPick(form, 2, QStringLiteral("　　项目"), xm_, QStringLiteral("选择收支项目"), [this] { openItems(); },
                            [this] { return xm_->text().trimmed().isEmpty(); });
    je_ = new QLineEdit(this);
    je_->setObjectName(QStringLiteral("je"));
    NumberField::attach(je_, NumberField::Unsigned);
    entry_form::addRow(form, 3, QStringLiteral("　　金额"), je_);
    jsr_ = new QLineEdit(this);
    jsr_->setObjectName(QStringLiteral("jsr"));
    jsr_->setReadOnly(true);
    entry_form::addPick(form, 4, QStringLiteral("　经办人"), jsr_, QStringLiteral("选择经办人"),
                            [this] { openEmployees(); }, [this] { return jsr_->text().trimmed().isEmpty(); });
    bz_ = new QLineEdit(this);
    bz_->setObjectName(QStringLiteral("bz"));
    entry_form::addRow(form, 5, QStringLiteral("备注说明"), bz_);
    st1_ = new QLabel(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();

    auto *save = layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2")).main;
    connect(save, &QPushButton::clicked, this, &TFtjszfx1::saveClick);
    resize(360, sizeHint().height());
    setAdding();
}

void TFtjszfx1::setAdding()
{
    st1_->setText(QStringLiteral("新增"));
    setWindowTitle(QStringLiteral("新增其他收支"));
    id_ = 0;
    date_->setDate(QDate::currentDate());
    category_->setCurrentText(IncomeExpenseBook::Expense);
    xm_->clear();
    je_->setText(QStringLiteral("0"));
    jsr_->clear();
    bz_->clear();
}

void TFtjszfx1::setEditing(qint64 id, const QString &rq, const QString &lb, const QString &xm, Decimal se, Decimal ze,
                           const QString &jsr, const QString &bz)
{
    st1_->setText(QStringLiteral("修改"));
    setWindowTitle(QStringLiteral("修改其他收支"));
    id_ = id;
    date_->setDate(QDate::fromString(rq, QStringLiteral("yyyy-MM-dd")));
    category_->setCurrentText(lb);
    xm_->setText(xm);
    je_->setText((lb.trimmed() == IncomeExpenseBook::Income ? se : ze).toFixed2());
    jsr_->setText(jsr);
    bz_->setText(bz);
}

QString TFtjszfx1::mode() const { return st1_->text(); }

void TFtjszfx1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    category_->setFocus();
}

void TFtjszfx1::saveClick()
{
    NumberField::normalize(je_);
    const IncomeExpenseEntry e{date_->date(), category_->currentText(), xm_->text(),
                               NumberField::value(je_).value_or(Decimal()), jsr_->text(), bz_->text()};
    const std::variant<qint64, Refusal> result = IncomeExpenseBook(book()).save(e, id_);
    if (auto *r = std::get_if<Refusal>(&result)) {
        r->show();
        if (QWidget *w = findChild<QWidget *>(r->field)) w->setFocus();
        return;
    }
    emit saved(std::get<qint64>(result));
    if (mode() == QStringLiteral("修改")) {
        accept();
        return;
    }
    // The next entry keeps date, category, handler and note.
    xm_->clear();
    je_->setText(QStringLiteral("0"));
    xm_->setFocus();
}

void TFtjszfx1::openItems() { openLookupList(LookupKind::IncomeExpenseItem, Mark, *this, this); }

void TFtjszfx1::openEmployees()
{
    TFyg2 picker(this);
    picker.setCaller(this, Mark);
    picker.exec();
}

void TFtjszfx1::lookupChosen(LookupKind kind, const QString &mark, const QString &value)
{
    if (kind == LookupKind::IncomeExpenseItem && mark == Mark) xm_->setText(value);
}

void TFtjszfx1::partnerChosen(const QString &mark, const QString &name)
{
    if (mark == Mark) jsr_->setText(name);
}
