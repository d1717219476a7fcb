#include "master/ui/tftjsp1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/number_field.h"
#include "master/ui/lookup_list_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct FieldSpec {
    const char *column;
    const char *label;
    const char *pickHint;   // the small list button beside a field filled from a list
};

const FieldSpec Fields[] = {
    {"ck", "存放仓库", "选择仓库"}, {"lb", "商品类别", "选择商品类别"}, {"ppgg", "商品名称", nullptr},
    {"txm", "商品编码", nullptr},   {"dw", "计量单位", "选择计量单位"}, {"jj", "采购单价", nullptr},
    {"xjpf", "批发单价", nullptr},  {"xjls", "零售单价", nullptr},      {"slt", "数量提成", nullptr},
    {"jet", "金额提成", nullptr},   {"kcsl", "库存数量", nullptr},      {"kcjg", "库存单价", nullptr},
    {"ms", "商品描述", nullptr},    {"bz", "备注说明", nullptr},
};

bool isListField(const QString &c) { return c == "ck" || c == "lb" || c == "dw"; }

} // namespace

TFtjsp1::TFtjsp1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFtjsp1"));
    st1_ = new QLineEdit(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();

    auto *form = new QGridLayout;
    int i = 0;
    for (const FieldSpec &f : Fields) {
        const QString column = QString::fromLatin1(f.column);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(column);
        fields_.insert(column, edit);
        const int row = i / 2, col = (i % 2) * 3;
        form->addWidget(new QLabel(QString::fromUtf8(f.label), this), row, col);
        form->addWidget(edit, row, col + 1);
        if (f.pickHint) {
            edit->setReadOnly(true);
            edit->installEventFilter(this);
            auto *pick = new QToolButton(this);
            pick->setText(QStringLiteral("…"));
            pick->setToolTip(QString::fromUtf8(f.pickHint));
            pick->setObjectName(QString::fromUtf8(f.pickHint));
            pick->setFocusPolicy(Qt::NoFocus);
            connect(pick, &QToolButton::clicked, this, [this, column] { openList(column); });
            form->addWidget(pick, row, col + 2);
            KeyFlow::onEnter(edit, [this, column, edit] {
                if (!edit->text().trimmed().isEmpty()) return false;
                openList(column);
                return true;
            });
        }
        ++i;
    }
    for (const QString &c : GoodsEntry::numberColumns()) NumberField::attach(fields_[c], NumberField::Unsigned);
    // The code follows the name; the operator may type another afterwards.
    connect(fields_["ppgg"], &QLineEdit::textChanged, this,
            [this](const QString &name) { fields_["txm"]->setText(GoodsCatalogue::codeForName(name)); });

    save_ = layOutFormDialog(this, form, QStringLiteral("保存")).main;   // bz is the last field: Enter there saves
    connect(save_, &QPushButton::clicked, this, &TFtjsp1::saveClick);
    setFixedSize(sizeHint().expandedTo(QSize(560, 300)));
    setAdding();
}

void TFtjsp1::setAdding()
{
    st1_->setText(QStringLiteral("新增"));
    setWindowTitle(QStringLiteral("新增商品资料"));
    id_ = 0;
    for (auto it = fields_.begin(); it != fields_.end(); ++it) it.value()->clear();
    for (const QString &c : GoodsEntry::numberColumns()) fields_[c]->setText(QStringLiteral("0"));
}

void TFtjsp1::setEditing(const GoodsRecord &r)
{
    st1_->setText(QStringLiteral("修改"));
    setWindowTitle(QStringLiteral("修改商品资料"));
    id_ = r.id;
    for (auto it = fields_.begin(); it != fields_.end(); ++it) it.value()->setText(r.text(it.key()));
    fields_["txm"]->setText(r.txm);   // the stored code, not the one the name would give
}

QString TFtjsp1::mode() const { return st1_->text(); }

void TFtjsp1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    fields_["ck"]->setFocus();
}

bool TFtjsp1::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonDblClick) {
        const QString column = watched->objectName();
        if (isListField(column)) {
            openList(column);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TFtjsp1::openList(const QString &column)
{
    const LookupKind kind = column == "ck" ? LookupKind::Warehouse : column == "lb" ? LookupKind::Category : LookupKind::Unit;
    openLookupList(kind, QStringLiteral("tjsp"), *this, this);
}

void TFtjsp1::lookupChosen(LookupKind kind, const QString &mark, const QString &value)
{
    Q_UNUSED(mark);
    const QString column = kind == LookupKind::Warehouse ? "ck" : kind == LookupKind::Category ? "lb" : "dw";
    fields_[column]->setText(value);
}

GoodsEntry TFtjsp1::entry() const
{
    GoodsEntry e;
    for (auto it = fields_.begin(); it != fields_.end(); ++it) e.setValue(it.key(), it.value()->text());
    return e;
}

void TFtjsp1::saveClick()
{
    for (const QString &c : GoodsEntry::numberColumns()) NumberField::normalize(fields_[c]);
    GoodsCatalogue goods(book());
    GoodsRecord r;
    const bool adding = mode() == QStringLiteral("新增");
    const auto refusal = adding ? goods.add(entry(), &r) : goods.update(id_, entry(), &r);
    if (refusal) {
        refusal->show();
        fields_.value(refusal->field, fields_["ppgg"])->setFocus();
        return;
    }
    emit saved(r, adding);
    if (!adding) {
        accept();
        return;
    }
    // Warehouse, category, unit, prices and commissions stay for the next article.
    for (const char *c : {"ppgg", "txm", "ms", "bz"}) fields_[QString::fromLatin1(c)]->clear();
    fields_["kcsl"]->setText(QStringLiteral("0"));
    fields_["kcjg"]->setText(QStringLiteral("0"));
    fields_["ppgg"]->setFocus();
}
