#include "stock/ui/assembly_window.h"

#include "app/data/dm1.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/number_field.h"
#include "app/widgets/record_table_model.h"
#include "master/ui/lookup_list_window.h"
#include "master/ui/tfsp3.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

QLineEdit *edit(QWidget *parent, const QString &name, bool readOnly, const QString &hint = QString())
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    e->setToolTip(hint);
    e->setPlaceholderText(hint);
    return e;
}

// A double-click in a warehouse field opens the warehouse picker, as its button does.
class DoubleClickPicks final : public QObject {
public:
    DoubleClickPicks(QWidget *field, std::function<void()> pick) : QObject(field), pick_(std::move(pick))
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::MouseButtonDblClick) return false;
        pick_();
        return true;
    }

private:
    std::function<void()> pick_;
};

// Leaving a warehouse field empty is refused at once and the focus comes back, except towards
// its own picker button or the cancel button, and not when another window takes the focus
// (the picker itself, or the message).
class WarehouseRequired final : public QObject {
public:
    WarehouseRequired(QLineEdit *field, int step, QList<QWidget *> passes, std::function<void(const Refusal &)> refuse)
        : QObject(field), field_(field), step_(step), passes_(std::move(passes)), refuse_(std::move(refuse))
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::FocusOut || returning_) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        if (passes_.contains(QApplication::focusWidget()) || !field_->isVisible()) return false;
        if (!AssemblyService::warehouseMissing(step_, field_->text())) return false;
        // After the focus change has finished: pulling it back from inside would nest a second
        // change into the first, and the other warehouse field would complain in turn.
        QTimer::singleShot(0, this, [this] {
            const auto r = AssemblyService::warehouseMissing(step_, field_->text());
            if (!r || !field_->isVisible()) return;
            returning_ = true;
            refuse_(*r);
            returning_ = false;
        });
        return false;
    }

private:
    QLineEdit *field_;
    int step_;
    QList<QWidget *> passes_;
    std::function<void(const Refusal &)> refuse_;
    static inline bool returning_ = false;   // shared: the other field lets this return pass
};

QPushButton *pickerButton(QWidget *parent, const QString &hint)
{
    auto *b = new QPushButton(QStringLiteral("…"), parent);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    b->setFixedWidth(28);
    return b;
}

} // namespace

AssemblyWindow::AssemblyWindow(const AssemblyKind &kind, const Texts &t, QWidget *parent)
    : QDialog(parent), kind_(kind), service_(book(), kind)
{
    setWindowTitle(t.caption);
    sao_ = edit(this, QStringLiteral("sao"), true);
    sao_->setText(GoodsPicking::PickerClosed);
    sao_->hide();

    const QString steps[2] = {t.stepOne, t.stepTwo};
    const QString wholeOrPart[2] = {QStringLiteral("整件"), QStringLiteral("零件")};
    QGroupBox *groups[2];
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        groups[i] = new QGroupBox(steps[i], this);
        auto *g = new QGridLayout(groups[i]);
        ck_[i] = edit(groups[i], "ck" + n, true);
        txm_[i] = edit(groups[i], "txm" + n, false);
        ppgg_[i] = edit(groups[i], "ppgg" + n, true, wholeOrPart[i] + QStringLiteral("名称"));
        dw_[i] = edit(groups[i], "dw" + n, true, wholeOrPart[i] + QStringLiteral("单位"));
        kcsl_[i] = edit(groups[i], "kcsl" + n, true, wholeOrPart[i] + QStringLiteral("库存"));
        kcsl_[i]->setText(QStringLiteral("0"));
        spid_[i] = edit(groups[i], "spid" + n, true);
        spid_[i]->setText(QStringLiteral("0"));
        spid_[i]->hide();
        QPushButton *pickCk = pickCk_[i] = pickerButton(groups[i], QStringLiteral("选择") + wholeOrPart[i] + QStringLiteral("仓库"));
        QPushButton *goodsButton = pickerButton(groups[i], QStringLiteral("选择") + wholeOrPart[i]);
        connect(pickCk, &QPushButton::clicked, this, [this, i] { pickWarehouse(i + 1); });
        new DoubleClickPicks(ck_[i], [this, i] { pickWarehouse(i + 1); });
        connect(goodsButton, &QPushButton::clicked, this, [this, i] { pickGoods(i + 1); });
        connect(txm_[i], &QLineEdit::textChanged, this, [this, i] { codeTyped(i + 1); });
        g->addWidget(new QLabel(wholeOrPart[i] + QStringLiteral("仓库"), groups[i]), 0, 0);
        g->addWidget(ck_[i], 0, 1);
        g->addWidget(pickCk, 0, 2);
        g->addWidget(new QLabel(QStringLiteral("商品编码"), groups[i]), 1, 0);
        g->addWidget(txm_[i], 1, 1);
        g->addWidget(goodsButton, 1, 2);
        g->addWidget(ppgg_[i], 2, 1);
        g->addWidget(dw_[i], 3, 1);
        g->addWidget(kcsl_[i], 4, 1);
    }
    quantity_ = edit(groups[0], kind.quantityField, false);
    quantity_->setText(QStringLiteral("1"));
    NumberField::attach(quantity_, NumberField::Unsigned, NumberField::MayBeEmpty);
    connect(quantity_, &QLineEdit::textChanged, this, &AssemblyWindow::quantityChanged);
    coefficient_ = edit(groups[1], kind.coefficientField, false);
    coefficient_->setText(QStringLiteral("0"));
    NumberField::attach(coefficient_, NumberField::Unsigned);
    auto addNumber = [](QGroupBox *g, const QString &caption, QLineEdit *e, const QString &help1, const QString &help2) {
        auto *grid = static_cast<QGridLayout *>(g->layout());
        grid->addWidget(new QLabel(caption, g), 5, 0);
        grid->addWidget(e, 5, 1);
        grid->addWidget(new QLabel(help1 + u'\n' + help2, g), 6, 0, 1, 3);
    };
    addNumber(groups[0], t.quantityCaption, quantity_, t.quantityHelp1, t.quantityHelp2);
    addNumber(groups[1], t.coefficientCaption, coefficient_, t.coefficientHelp1, t.coefficientHelp2);

    auto *add = new QPushButton(QStringLiteral("新增"), groups[1]);
    add->setObjectName(QStringLiteral("SB1"));
    add->setToolTip(QStringLiteral("新增零件"));
    auto *remove = new QPushButton(QStringLiteral("删除"), groups[1]);
    remove->setObjectName(QStringLiteral("SB2"));
    remove->setToolTip(QStringLiteral("删除零件"));
    for (QPushButton *b : {add, remove}) b->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &AssemblyWindow::addPartClick);
    connect(remove, &QPushButton::clicked, this, &AssemblyWindow::removePartClick);
    auto *partButtons = new QHBoxLayout;
    partButtons->addWidget(add);
    partButtons->addWidget(remove);
    static_cast<QGridLayout *>(groups[1]->layout())->addLayout(partButtons, 7, 0, 1, 3);

    using Col = RecordTableModel::Column;
    model_ = new RecordTableModel({Col{"txm", "编码"}, Col{"ppgg", "商品名称"}, Col{"dw", "单位"}, Col{"ck", "仓库"},
                                   Col{"kc", "当前库存", RecordTableModel::Quantity},
                                   Col{"xs", t.partsColumn6, RecordTableModel::Quantity},
                                   Col{"sl", t.partsColumn7, RecordTableModel::Quantity},
                                   Col{"spid2", "spid2", RecordTableModel::Integer, false},
                                   Col{"id", "id", RecordTableModel::Integer, false}},
                                  this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);

    auto *confirm = new QPushButton(t.confirmCaption, this);
    confirm->setObjectName(QStringLiteral("BitBtn1"));
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton *b : {confirm, cancel}) b->setAutoDefault(false);
    connect(confirm, &QPushButton::clicked, this, &AssemblyWindow::confirmClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(confirm);
    bottom->addWidget(cancel);

    auto *top = new QHBoxLayout;
    top->addWidget(groups[0]);
    top->addWidget(groups[1]);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    layout->addLayout(bottom);
    resize(760, 560);

    // Enter walks whole → quantity → part → coefficient and adds the part; an empty warehouse
    // or an unknown code opens its picker instead.
    KeyFlow::enterMovesFocus(this, nullptr);
    for (int i = 0; i < 2; ++i) {
        KeyFlow::onEnter(ck_[i], [this, i] {
            if (ck_[i]->text().isEmpty()) pickWarehouse(i + 1);
            else txm_[i]->setFocus();
            return true;
        });
        KeyFlow::onEnter(txm_[i], [this, i] {
            if (spid_[i]->text().toLongLong() > 0) (i == 0 ? quantity_ : coefficient_)->setFocus();
            else pickGoods(i + 1);
            return true;
        });
    }
    KeyFlow::onEnter(quantity_, [this] {
        txm_[1]->setFocus();
        return true;
    });
    KeyFlow::onEnter(coefficient_, [this] {
        addPartClick();
        return true;
    });
    KeyFlow::escCloses(this, cancel);
    for (int i = 0; i < 2; ++i)
        new WarehouseRequired(ck_[i], i + 1, {pickCk_[i], cancel}, [this](const Refusal &r) { refuse(r); });
    ck_[0]->setFocus();
}

QLineEdit *AssemblyWindow::field(const QString &name) const { return findChild<QLineEdit *>(name); }
QString AssemblyWindow::sao() const { return sao_->text(); }
void AssemblyWindow::setSao(const QString &value) { sao_->setText(value); }
QString AssemblyWindow::mark(int step) const { return kind_.table + QString::number(step); }

void AssemblyWindow::fill(int step, const PickedGoods &g)
{
    const int i = step - 1;
    txm_[i]->setText(g.txm);
    ppgg_[i]->setText(g.ppgg);
    dw_[i]->setText(g.dw);
    kcsl_[i]->setText(g.kcsl.toPlain());
    spid_[i]->setText(QString::number(g.spid));
    // Choosing a whole shows its stored parts for the quantity now typed.
    if (step == 1 && g.spid > 0) {
        service_.setQuantity(g.spid, quantity_->text());
        showParts();
    }
}

void AssemblyWindow::codeTyped(int step)
{
    // The picker fills the code itself: no second lookup while it is open.
    if (sao_->text() != GoodsPicking::PickerClosed) return;
    const int i = step - 1;
    const auto found = service_.findGoods(txm_[i]->text(), ck_[i]->text());
    fill(step, found.value_or(PickedGoods{0, txm_[i]->text(), {}, {}, {}}));
}

void AssemblyWindow::quantityChanged()
{
    if (quantity_->text().trimmed().isEmpty()) {
        quantity_->setText(QStringLiteral("1"));
        return;   // the change to "1" comes back here
    }
    const qint64 whole = spid_[0]->text().toLongLong();
    if (whole <= 0) return;
    service_.setQuantity(whole, quantity_->text());
    showParts();
}

void AssemblyWindow::showParts()
{
    QSqlQuery q = service_.parts(spid_[0]->text().toLongLong());
    model_->load(q);
}

void AssemblyWindow::pickWarehouse(int step) { openLookupList(LookupKind::Warehouse, mark(step), *this, this); }

void AssemblyWindow::lookupChosen(LookupKind kind, const QString &m, const QString &value)
{
    if (kind != LookupKind::Warehouse) return;
    if (m == mark(1)) ck_[0]->setText(value);
    if (m == mark(2)) ck_[1]->setText(value);
}

void AssemblyWindow::pickGoods(int step)
{
    const QString caption = step == 1 ? QStringLiteral("选择整件") : QStringLiteral("选择零件");
    TFsp3::pick(mark(step), ck_[step - 1]->text(), *this, caption, this);
}

void AssemblyWindow::assemblyGoodsChosen(const QString &m, const PickedGoods &goods)
{
    if (m == mark(1)) fill(1, goods);
    if (m == mark(2)) fill(2, goods);
}

void AssemblyWindow::refuse(const Refusal &r)
{
    r.show();
    if (QLineEdit *f = field(r.field)) f->setFocus();
}

void AssemblyWindow::addPartClick()
{
    const auto r = service_.addPart({ck_[1]->text(), spid_[0]->text().toLongLong(), quantity_->text(),
                                     spid_[1]->text().toLongLong(), coefficient_->text()});
    if (r) return refuse(*r);
    showParts();
    txm_[1]->setFocus();
    txm_[1]->clear();
    fill(2, PickedGoods{});
    coefficient_->setText(QStringLiteral("0"));
}

void AssemblyWindow::removePartClick()
{
    const int row = grid_->currentIndex().row();
    if (row < 0 || row >= model_->rowCount()) return;
    service_.removePart(model_->integer(row, QStringLiteral("id")));
    showParts();
}

void AssemblyWindow::confirmClick()
{
    const auto r = service_.confirm({ck_[0]->text(), spid_[0]->text().toLongLong(), quantity_->text()});
    if (r) return refuse(*r);
    // Ready for the next whole; the warehouses stay and the list shows the last whole's parts.
    txm_[0]->setFocus();
    const QString previous = sao_->text();
    sao_->setText(GoodsPicking::PickerOpen);
    txm_[0]->clear();
    ppgg_[0]->clear();
    dw_[0]->clear();
    kcsl_[0]->setText(QStringLiteral("0"));
    spid_[0]->setText(QStringLiteral("0"));
    quantity_->setText(QStringLiteral("1"));
    sao_->setText(previous);
}
