#include "master/ui/lookup_list_window.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "master/ui/tfck1.h"
#include "master/ui/tfdw1.h"
#include "master/ui/tflb1.h"
#include "master/ui/tfrklx1.h"
#include "master/ui/tfszxm1.h"
#include "master/ui/tftjck1.h"
#include "master/ui/tftjdw1.h"
#include "master/ui/tftjlb1.h"
#include "master/ui/tftjrklx1.h"
#include "master/ui/tftjszxm1.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

namespace {

QPushButton *button(QWidget *parent, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    return b;
}

// Labels of dialogs are padded with ideographic spaces to a common width.
QString padded(const QString &label)
{
    QString s = label;
    if (s.size() == 2) s.insert(1, QStringLiteral("\u3000\u3000"));
    return s;
}

} // namespace

LookupListWindow::LookupListWindow(LookupKind kind, QWidget *parent)
    : QDialog(parent), list_(book(), kind)
{
    const LookupListConfig &c = list_.config();
    setWindowTitle(c.listCaption);

    QList<RecordTableModel::Column> columns{{"id", "id", RecordTableModel::Integer, false}};
    for (int i = 0; i < c.columns.size(); ++i) columns.append({c.columns[i], c.titles[i], RecordTableModel::Text, true});
    model_ = new RecordTableModel(columns, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    if (!c.titleSort) grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->horizontalHeader()->setStretchLastSection(true);

    xzbj_ = new QLineEdit(this);
    xzbj_->setObjectName(QStringLiteral("xzbj"));
    xzbj_->hide();

    auto *add = button(this, QStringLiteral("新增"));
    auto *del = button(this, QStringLiteral("删除"));
    auto *close = button(this, QStringLiteral("关闭"));
    auto *choose = button(this, QStringLiteral("选择"));
    connect(add, &QPushButton::clicked, this, &LookupListWindow::addClick);
    connect(del, &QPushButton::clicked, this, &LookupListWindow::deleteClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(choose, &QPushButton::clicked, this, &LookupListWindow::chooseClick);

    if (c.canEdit) {
        grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto *edit = new QAction(QStringLiteral("修改"), grid_);
        edit->setObjectName(QStringLiteral("修改"));
        auto *remove = new QAction(QStringLiteral("删除"), grid_);
        remove->setObjectName(QStringLiteral("删除菜单"));
        connect(edit, &QAction::triggered, this, &LookupListWindow::editClick);
        connect(remove, &QAction::triggered, this, &LookupListWindow::deleteClick);
        grid_->addAction(edit);
        grid_->addAction(remove);
    }

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {add, del, close, choose}) buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    setFixedSize(c.columns.size() > 1 ? 420 : 320, 360);

    KeyFlow::gridActivates(grid_, choose);
    KeyFlow::escCloses(this, close);
    requery();
}

void LookupListWindow::setCaller(LookupCaller *caller, const QString &mark)
{
    caller_ = caller;
    xzbj_->setText(mark);
}

QString LookupListWindow::mark() const { return xzbj_->text(); }

void LookupListWindow::requery()
{
    QSqlQuery q = list_.all();
    model_->load(q);
    if (model_->rowCount() > 0) grid_->selectRow(0);
    // Back from adding or editing, Enter chooses again.
    grid_->setFocus();
}

int LookupListWindow::currentRow() const
{
    const int r = grid_->currentIndex().row();
    return r >= 0 ? r : 0;
}

qint64 LookupListWindow::currentId() const { return model_->integer(currentRow(), QStringLiteral("id")); }

void LookupListWindow::addClick()
{
    std::unique_ptr<LookupAddDialog> d(makeLookupAddDialog(list_.config().kind, this));
    d->setAdding();
    d->exec();
    requery();
}

void LookupListWindow::editClick()
{
    const LookupListConfig &c = list_.config();
    if (!c.canEdit) return;
    if (!ListWindow::requireRows(model_, c.noun, ListWindow::Edit)) return;
    const int row = currentRow();
    std::unique_ptr<LookupAddDialog> d(makeLookupAddDialog(c.kind, this));
    d->setEditing(currentId(), model_->text(row, c.chosenColumn));
    d->exec();
    requery();
    grid_->selectRow(qMin(row, model_->rowCount() - 1));
}

void LookupListWindow::deleteClick()
{
    const LookupListConfig &c = list_.config();
    if (!ListWindow::requireRows(model_, c.noun, ListWindow::Delete)) return;
    if (!ListWindow::confirmDelete(c.noun)) return;
    const int row = currentRow();
    list_.remove(currentId());
    model_->removeRows(row, 1);
}

void LookupListWindow::chooseClick()
{
    const LookupListConfig &c = list_.config();
    if (!ListWindow::requireRows(model_, c.noun, ListWindow::Choose)) return;
    const QString value = model_->text(currentRow(), c.chosenColumn);
    if (caller_) caller_->lookupChosen(c.kind, mark(), value);
    accept();
}

LookupAddDialog::LookupAddDialog(LookupKind kind, QWidget *parent) : QDialog(parent), list_(book(), kind)
{
    const LookupListConfig &c = list_.config();
    st1_ = new QLineEdit(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();
    auto *form = new QGridLayout;
    int row = 0;
    if (kind == LookupKind::IncomeExpenseItem) {
        combo_ = new QComboBox(this);
        combo_->setObjectName(QStringLiteral("ComboBox1"));
        combo_->addItems(incomeExpenseCategories());   // a list: no free typing
        form->addWidget(new QLabel(padded(c.labels[0]), this), row, 0);
        form->addWidget(combo_, row++, 1);
    }
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    form->addWidget(new QLabel(padded(c.labels.last()), this), row, 0);
    form->addWidget(edit1_, row++, 1);

    save_ = layOutFormDialog(this, form, QStringLiteral("保存")).main;
    connect(save_, &QPushButton::clicked, this, &LookupAddDialog::saveClick);
    setFixedSize(300, combo_ ? 150 : 120);
    setAdding();
}

void LookupAddDialog::setAdding()
{
    st1_->setText(QStringLiteral("新增"));
    setWindowTitle(list_.config().addCaption);
    id_ = 0;
    edit1_->clear();
}

void LookupAddDialog::setEditing(qint64 id, const QString &value)
{
    st1_->setText(QStringLiteral("修改"));
    setWindowTitle(list_.config().editCaption);
    id_ = id;
    edit1_->setText(value);
}

QString LookupAddDialog::mode() const { return st1_->text(); }

void LookupAddDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (combo_) combo_->setCurrentIndex(0);
    if (combo_ && mode() == QStringLiteral("新增")) combo_->setFocus();
    else edit1_->setFocus();
}

void LookupAddDialog::saveClick()
{
    QStringList values;
    if (combo_) values << combo_->currentText();
    values << edit1_->text();
    const bool adding = mode() == QStringLiteral("新增");
    const auto refusal = adding ? list_.add(values) : list_.edit(id_, values);
    if (refusal) {
        refusal->show();
        if (combo_ && refusal->field == QLatin1String("lb")) combo_->setFocus();
        else edit1_->setFocus();
        return;
    }
    if (!adding) {
        accept();
        return;
    }
    edit1_->clear();   // the category of an income or expense item stays for the next one
    edit1_->setFocus();
}

void openLookupList(LookupKind kind, const QString &mark, LookupCaller &caller, QWidget *parent)
{
    std::unique_ptr<LookupListWindow> w;
    switch (kind) {
    case LookupKind::Category: w = std::make_unique<TFlb1>(parent); break;
    case LookupKind::Unit: w = std::make_unique<TFdw1>(parent); break;
    case LookupKind::Warehouse: w = std::make_unique<TFck1>(parent); break;
    case LookupKind::AdjustmentReason: w = std::make_unique<TFrklx1>(parent); break;
    case LookupKind::IncomeExpenseItem: w = std::make_unique<TFszxm1>(parent); break;
    }
    w->setCaller(&caller, mark);
    w->exec();
}

LookupAddDialog *makeLookupAddDialog(LookupKind kind, QWidget *parent)
{
    switch (kind) {
    case LookupKind::Category: return new TFtjlb1(parent);
    case LookupKind::Unit: return new TFtjdw1(parent);
    case LookupKind::Warehouse: return new TFtjck1(parent);
    case LookupKind::AdjustmentReason: return new TFtjrklx1(parent);
    case LookupKind::IncomeExpenseItem: return new TFtjszxm1(parent);
    }
    return nullptr;
}
