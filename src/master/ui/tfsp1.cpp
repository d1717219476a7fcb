#include "master/ui/tfsp1.h"

#include "master/ui/tfdr1.h"

#include "app/book_folders.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "master/goods_print.h"
#include "master/ui/goods_category_tree.h"
#include "master/ui/goods_grid.h"
#include "master/ui/tfcxsp1.h"
#include "master/ui/tftjsp1.h"
#include "print/ui/print_preview.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString Noun = QStringLiteral("商品");

} // namespace

TFsp1::TFsp1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFsp1"));
    setWindowTitle(QStringLiteral("商品资料"));

    tree_ = new GoodsCategoryTree(this);
    connect(tree_, &GoodsCategoryTree::categoryClicked, this, &TFsp1::showCategory);
    model_ = new RecordTableModel(GoodsGrid::listColumns(), this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);

    auto *buttons = new QHBoxLayout;
    QPushButton *edit = nullptr, *close = nullptr;
    const QList<std::pair<QString, void (TFsp1::*)()>> commands = {
        {"导入", &TFsp1::importClick}, {"新增", &TFsp1::addClick},   {"修改", &TFsp1::editClick},
        {"删除", &TFsp1::deleteClick}, {"查询", &TFsp1::queryClick}, {"打印", &TFsp1::printClick},
        {"导出", &TFsp1::exportClick},
    };
    for (const auto &[caption, slot] : commands) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        if (caption == QStringLiteral("修改")) edit = b;
    }
    close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("关闭"));
    connect(close, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
    buttons->addWidget(close);
    buttons->addStretch();
    hj_ = new QLabel(this);
    hj_->setObjectName(QStringLiteral("HJ"));
    buttons->addWidget(hj_);

    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *del = new QAction(QStringLiteral("删除"), grid_);
    del->setObjectName(QStringLiteral("删除菜单"));
    auto *codes = new QAction(QStringLiteral("批量生成拼音码"), grid_);
    codes->setObjectName(QStringLiteral("批量生成拼音码"));
    connect(del, &QAction::triggered, this, &TFsp1::deleteClick);
    connect(codes, &QAction::triggered, this, &TFsp1::regenerateCodesClick);
    grid_->addAction(del);
    grid_->addAction(codes);

    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(buttons);
    rightLayout->addWidget(grid_);
    auto *split = new QSplitter(this);
    split->addWidget(tree_);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({150, 750});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split);
    resize(900, 520);

    KeyFlow::gridEnterAsTab(grid_);
    KeyFlow::gridActivates(grid_, edit, false);
    KeyFlow::escCloses(this, close);

    showRows([] { return GoodsCatalogue(book()).all(); });
}

QString TFsp1::recordCountText() const { return hj_->text(); }

void TFsp1::updateCount() { hj_->setText(ListWindow::recordCountText(model_->rowCount())); }

int TFsp1::currentRow() const
{
    const int r = grid_->currentIndex().row();
    return r >= 0 ? r : 0;
}

void TFsp1::showRows(std::function<QSqlQuery()> query)
{
    lastQuery_ = std::move(query);
    QSqlQuery q = lastQuery_();
    model_->load(q);
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
    updateCount();
}

void TFsp1::showCategory(const QString &category)
{
    showRows([category] { return GoodsCatalogue(book()).inCategory(category); });
}

void TFsp1::applyGoodsFilter(const GoodsFilter &filter)
{
    showRows([filter] { return GoodsCatalogue(book()).query(filter); });
}

void TFsp1::importClick()
{
    if (!ListWindow::requireOpen(model_)) return;
    TFdr1 d(ImportTarget::Goods, this);
    d.exec();
    showRows([] { return GoodsCatalogue(book()).all(); });
}

void TFsp1::addClick()
{
    TFtjsp1 d(this);
    d.setAdding();
    connect(&d, &TFtjsp1::saved, this, [this](const GoodsRecord &r) {
        GoodsGrid::append(*model_, r);
        updateCount();
    });
    d.exec();
}

void TFsp1::editClick()
{
    if (!ListWindow::requireRows(model_, Noun, ListWindow::Edit)) return;
    const int row = currentRow();
    const qint64 id = model_->integer(row, QStringLiteral("id"));
    const auto r = GoodsCatalogue(book()).find(id);
    if (!r) return;
    TFtjsp1 d(this);
    d.setEditing(*r);
    if (d.exec() != QDialog::Accepted) return;
    // Show the same rows again, with the edited one current.
    const int column = grid_->currentIndex().column();
    showRows(lastQuery_);
    for (int i = 0; i < model_->rowCount(); ++i)
        if (model_->integer(i, QStringLiteral("id")) == id) {
            grid_->setCurrentIndex(model_->index(i, qMax(column, 0)));
            break;
        }
}

void TFsp1::deleteClick()
{
    if (!ListWindow::requireRows(model_, Noun, ListWindow::Delete)) return;
    if (!prompt().confirm(QStringLiteral("确定要删除此商品么？\n\n一旦删除，对应的库存资料也会删除"))) return;
    const int row = currentRow();
    GoodsCatalogue(book()).remove(model_->integer(row, QStringLiteral("id")));
    model_->removeRows(row, 1);
    updateCount();
}

void TFsp1::queryClick()
{
    TFcxsp1 d(this);
    d.setTarget(static_cast<GoodsQueryTarget *>(this));
    d.exec();
}

void TFsp1::printClick()
{
    if (!ListWindow::requireOpen(model_)) return;
    ReportData report;
    report.title = goodsPrintTitle(book());
    QHash<QString, int> columns;
    for (const char *f : {"lb", "txm", "ppgg", "dw", "xjpf", "xjls"})
        columns.insert(QString::fromLatin1(f), model_->columnOf(QString::fromLatin1(f)));
    report.appendRows(*model_, columns);
    previewReport(QStringLiteral("TFdysp1"), report, this);
}

void TFsp1::exportClick()
{
    if (!ListWindow::requireOpen(model_)) return;
    ExportGridToExcel(grid_, windowTitle(), book_folders::dataFolderOf(book()));
}

void TFsp1::regenerateCodesClick()
{
    if (!ListWindow::requireOpen(model_)) return;
    QList<qint64> ids;
    ids.reserve(model_->rowCount());
    for (int i = 0; i < model_->rowCount(); ++i) ids << model_->integer(i, QStringLiteral("id"));
    GoodsCatalogue(book()).regenerateCodes(ids);
    showRows(lastQuery_);
}
