#include "master/ui/goods_picker_panel.h"

#include "app/data/dm1.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "master/goods_picking.h"
#include "master/ui/goods_category_tree.h"
#include "master/ui/goods_grid.h"
#include "master/ui/tftjsp1.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

GoodsPickerPanel::GoodsPickerPanel(bool assembly, QWidget *parent) : QWidget(parent)
{
    tree_ = new GoodsCategoryTree(this);
    connect(tree_, &GoodsCategoryTree::categoryClicked, this, &GoodsPickerPanel::showCategory);
    model_ = new RecordTableModel(GoodsGrid::pickerColumns(assembly), this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);

    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit2_ = new QLineEdit(this);
    edit2_->setObjectName(QStringLiteral("Edit2"));
    edit2_->setReadOnly(true);
    xzbj_ = new QLineEdit(this);
    xzbj_->setObjectName(QStringLiteral("xzbj"));
    xzbj_->hide();
    connect(edit1_, &QLineEdit::textChanged, this, &GoodsPickerPanel::search);

    choose_ = new QPushButton(QStringLiteral("选择"), this);
    choose_->setObjectName(QStringLiteral("选择"));
    auto *add = new QPushButton(QStringLiteral("新增"), this);
    add->setObjectName(QStringLiteral("新增"));
    close_ = new QPushButton(QStringLiteral("关闭"), this);
    close_->setObjectName(QStringLiteral("关闭"));
    for (QPushButton *b : {choose_, add, close_}) b->setAutoDefault(false);
    connect(choose_, &QPushButton::clicked, this, &GoodsPickerPanel::chooseRequested);
    connect(add, &QPushButton::clicked, this, &GoodsPickerPanel::addClick);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("录入编码、品名、类别查询"), this));
    bottom->addWidget(edit1_, 2);
    bottom->addWidget(new QLabel(QStringLiteral("当前仓库"), this));
    bottom->addWidget(edit2_, 1);
    for (QPushButton *b : {choose_, add, close_}) bottom->addWidget(b);
    auto *split = new QSplitter(this);
    split->addWidget(tree_);
    split->addWidget(grid_);
    split->setStretchFactor(1, 1);
    split->setSizes({140, 660});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
    layout->addLayout(bottom);

    KeyFlow::gridActivates(grid_, choose_);
    // The search box is the only field: Enter there chooses what the search found.
    KeyFlow::enterMovesFocus(this, choose_);
}

void GoodsPickerPanel::setMark(const QString &mark) { xzbj_->setText(mark); }
QString GoodsPickerPanel::mark() const { return xzbj_->text(); }
void GoodsPickerPanel::setWarehouse(const QString &ck) { edit2_->setText(ck); }
QString GoodsPickerPanel::warehouse() const { return edit2_->text(); }

void GoodsPickerPanel::loaded()
{
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
}

void GoodsPickerPanel::showWarehouse()
{
    QSqlQuery q = GoodsCatalogue(book()).inWarehouse(warehouse());
    model_->load(q);
    loaded();
}

void GoodsPickerPanel::clearSearch(bool searchEmpty)
{
    const bool blocked = edit1_->blockSignals(true);
    edit1_->clear();
    edit1_->blockSignals(blocked);
    if (searchEmpty) search(QString());
}

void GoodsPickerPanel::search(const QString &text)
{
    model_->load(GoodsCatalogue(book()).search(warehouse(), text));
    loaded();
}

void GoodsPickerPanel::showCategory(const QString &category)
{
    clearSearch(false);
    QSqlQuery q = GoodsCatalogue(book()).inWarehouse(warehouse(), category);
    model_->load(q);
    loaded();
    grid_->setFocus();
}

void GoodsPickerPanel::showPriceColumn(const QString &column)
{
    for (const QString &c : GoodsPicking::priceColumns()) {
        const int i = model_->columnOf(c);
        if (i >= 0) grid_->setColumnHidden(i, c != column);
    }
}

bool GoodsPickerPanel::current(GoodsRecord *r) const
{
    if (model_->rowCount() == 0) return false;
    const int row = grid_->currentIndex().row();
    *r = GoodsGrid::recordAt(*model_, row >= 0 ? row : 0);
    return true;
}

void GoodsPickerPanel::addSaved(const GoodsRecord &r)
{
    if (r.ck != warehouse()) return;   // a pick from here goes into this warehouse's document
    GoodsGrid::append(*model_, r);
}

void GoodsPickerPanel::addClick()
{
    TFtjsp1 d(this);
    d.setAdding();
    connect(&d, &TFtjsp1::saved, this, &GoodsPickerPanel::addSaved);
    d.exec();
}
