#include "documents/ui/tfxgmx1.h"

#include "app/prompter.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"
#include "documents/line_buffer.h"
#include "documents/ui/line_dialogs.h"
#include "master/goods_picking.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
Decimal valueOf(const QLineEdit *e) { return NumberField::value(e).value_or(Decimal()); }
} // namespace

TFxgmx1::TFxgmx1(const LineDialogShape &shape, QWidget *parent) : QDialog(parent)
{
    setObjectName(shape.name);
    st1_ = LineDialogs::modeLabel(this);
    auto *form = new QGridLayout;
    struct FieldSpec {
        const char *name, *caption, *hint;
        bool editable;
    };
    const FieldSpec fields[] = {{"txm", "编码", nullptr, false}, {"ppgg", "商品名称", nullptr, false},
                          {"dw", "", "计量单位", false},    {"jg", "单价", nullptr, true},
                          {"zk", "", "折扣率", true},       {"sl", "数量", nullptr, true},
                          {"je", "金额", nullptr, false}};
    int row = 0;
    for (const FieldSpec &s : fields) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(s.name));
        e->setReadOnly(!s.editable);
        if (s.hint) e->setToolTip(QString::fromUtf8(s.hint));
        fields_.insert(e->objectName(), e);
        form->addWidget(new QLabel(QString::fromUtf8(s.caption), this), row, 0);
        form->addWidget(e, row, 1);
        ++row;
    }
    if (!shape.legend.isEmpty()) form->addWidget(new QLabel(shape.legend, this), 5, 2);
    // Stock lines have no rate (it stays 1) and keep the price they were entered with.
    if (!shape.discount) {
        fields_["zk"]->hide();
        form->itemAtPosition(4, 0)->widget()->hide();
    }
    fields_["jg"]->setReadOnly(!shape.priceEditable);
    NumberField::attach(fields_["jg"], NumberField::Unsigned);
    NumberField::attach(fields_["zk"], NumberField::Unsigned, NumberField::MayBeEmpty);
    NumberField::attach(fields_["sl"], shape.signedQuantity ? NumberField::Signed : NumberField::Unsigned);
    discount_ = shape.discount;
    // An emptied rate means no discount.
    connect(fields_["zk"], &QLineEdit::textChanged, this, [this](const QString &t) {
        if (t.trimmed().isEmpty()) fields_["zk"]->setText(LineDialogs::NoRate);
    });
    for (const char *f : {"jg", "sl", "zk"})
        connect(fields_[QString::fromLatin1(f)], &QLineEdit::textChanged, this, &TFxgmx1::recomputeAmount);

    const FormDialogButtons b = layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2"));
    connect(b.main, &QPushButton::clicked, this, &TFxgmx1::saveClick);
    auto toPrice = [this] {
        fields_[discount_ ? "jg" : "sl"]->setFocus(Qt::TabFocusReason);
        return true;
    };
    auto save = [this] {
        saveClick();
        return true;
    };
    for (const char *f : {"txm", "ppgg", "dw"}) KeyFlow::onEnter(fields_[QString::fromLatin1(f)], toPrice);
    if (!shape.priceEditable) KeyFlow::onEnter(fields_["jg"], [this] {
        fields_["sl"]->setFocus(Qt::TabFocusReason);
        return true;
    });
    KeyFlow::onEnter(fields_["sl"], save);
    KeyFlow::onEnter(fields_["je"], save);
}

QString TFxgmx1::mode() const { return st1_->text(); }

void TFxgmx1::edit(const QString &mode, LineBuffer &lines, int row, GoodsLineCaller &caller)
{
    st1_->setText(mode);
    lines_ = &lines;
    caller_ = &caller;
    row_ = row;
    const DocumentLine &l = lines.lines().at(row);
    const QHash<QString, QString> values = {{"txm", l.txm}, {"ppgg", l.ppgg}, {"dw", l.dw}, {"sl", l.sl.toFixed2()},
                                            {"jg", l.jg.toFixed2()}, {"zk", discount_ ? l.zk.toFixed2() : LineDialogs::NoRate},
                                            {"je", l.je.toFixed2()}};
    // The purchase window fills the quantity before the price, the sales windows after; the
    // stored amount is set last and stands until a value changes.
    const QStringList order = mode == u"cgmx" ? QStringList{"txm", "ppgg", "dw", "sl", "jg", "zk", "je"}
                                              : QStringList{"txm", "ppgg", "dw", "jg", "zk", "sl", "je"};
    for (const QString &f : order) fields_[f]->setText(values[f]);
}

void TFxgmx1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    fields_["sl"]->setFocus();
    fields_["sl"]->selectAll();
}

void TFxgmx1::recomputeAmount()
{
    const Decimal je = (valueOf(fields_["sl"]) * valueOf(fields_["jg"]) * valueOf(fields_["zk"])).round2();
    fields_["je"]->setText(je.toFixed2());
}

void TFxgmx1::saveClick()
{
    for (const char *f : {"jg", "zk", "sl", "je"}) NumberField::normalize(fields_[QString::fromLatin1(f)]);
    if (valueOf(fields_["sl"]).isZero()) {
        prompt().info(LineDialogs::ZeroQuantity);
        fields_["sl"]->setFocus();
        return;
    }
    if (valueOf(fields_["zk"]).isZero()) {
        prompt().info(LineDialogs::ZeroRate);
        fields_["zk"]->setFocus();
        return;
    }
    if (!lines_) return;
    DocumentLine l = lines_->lines().at(row_);
    l.sl = valueOf(fields_["sl"]);
    l.jg = valueOf(fields_["jg"]);
    l.zk = valueOf(fields_["zk"]);
    l.je = valueOf(fields_["je"]);
    if (lines_->kind().salesLines) {
        l.cbje = (l.cbjg * l.sl).round2();
        l.maoli = l.je - l.cbje;
    }
    lines_->update(row_, l);
    caller_->recomputeTotals();
    accept();
}
