#include "stock/ui/tfkcfx1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "app/widgets/report_bar.h"
#include "master/company_info.h"
#include "master/goods.h"
#include "master/ui/goods_category_tree.h"
#include "master/ui/goods_grid.h"
#include "master/ui/partner_form.h"
#include "master/ui/tfcxsp1.h"
#include "print/ui/print_preview.h"
#include "stock/stock_detail.h"
#include "stock/ui/tfchai1.h"
#include "stock/ui/tfzu1.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

TFkcfx1::TFkcfx1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFkcfx1"));
    setWindowTitle(QStringLiteral("库存明细表"));
    prices_ = StockDetail::pricesShown();

    tree_ = new GoodsCategoryTree(this);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    connect(tree_, &GoodsCategoryTree::categoryClicked, this, &TFkcfx1::showCategory);
    model_ = new RecordTableModel(GoodsGrid::stockColumns(), this);
    // Stock at or below zero is abnormal and stands out.
    model_->redRowsWhenNegative(QStringLiteral("kcsl"), true);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    for (const char *f : {"kcjg", "kcje"}) grid_->setColumnHidden(model_->columnOf(QString::fromLatin1(f)), !prices_);

    auto *bar = new QHBoxLayout;
    auto b = ReportBar::addButtons(this, bar, {{"SB55", "归零"}, {"SB77", "查询"}, {"SB88", "打印"}, {"SB99", "导出"}, {"SB100", "关闭"}});
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    bar->addWidget(line);
    b.insert(ReportBar::addButtons(this, bar, {{"SB33", "拆零"}, {"SB44", "组装"}}));
    connect(b["SB55"], &QPushButton::clicked, this, &TFkcfx1::zeroClick);
    connect(b["SB77"], &QPushButton::clicked, this, &TFkcfx1::queryClick);
    connect(b["SB99"], &QPushButton::clicked, this, &TFkcfx1::exportClick);
    connect(b["SB100"], &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
    connect(b["SB33"], &QPushButton::clicked, this, &TFkcfx1::disassembleClick);
    connect(b["SB44"], &QPushButton::clicked, this, &TFkcfx1::assembleClick);
    // The print button offers its two prints in a menu that opens as the mouse is released.
    printMenu_ = new QMenu(this);
    printMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    printMenu_->addAction(QStringLiteral("1、带库存价格打印"), this, &TFkcfx1::printWithPrices);
    printMenu_->addAction(QStringLiteral("2、不带库存价格打印"), this, &TFkcfx1::printWithoutPrices);
    QPushButton *print = b["SB88"];
    connect(print, &QPushButton::released, this, [this, print] { printMenu_->popup(print->mapToGlobal(QPoint(0, print->height()))); });
    ReportBar::addRedLegend(this, bar, QStringLiteral("数量＜=0：不正常库存"));
    QList<QLabel *> totals;
    QHBoxLayout *status = ReportBar::totalsRow(this, 2, QString(), &totals);
    quantity_ = totals[0];
    value_ = totals[1];

    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(bar);
    rightLayout->addWidget(grid_);
    rightLayout->addLayout(status);
    auto *split = new QSplitter(this);
    split->addWidget(tree_);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({150, 850});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split);
    resize(1000, 560);
    KeyFlow::escCloses(this, b["SB100"]);

    showRows([] { return GoodsCatalogue(book()).all(); });
    const StockTotals t = StockDetail::allTotals(book());
    setTotals(t.kcsl.toPlain(), t.kcje.toPlain());
}

QString TFkcfx1::quantityText() const { return quantity_->text(); }
QString TFkcfx1::valueText() const { return value_->text(); }

void TFkcfx1::setTotals(const QString &quantity, const QString &value)
{
    quantity_->setText(quantity);
    value_->setText(prices_ ? value : QString());
}

void TFkcfx1::showRows(std::function<QSqlQuery()> query)
{
    QSqlQuery q = query();
    model_->load(q);
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
}

void TFkcfx1::showCategory(const QString &category)
{
    showRows([category] { return GoodsCatalogue(book()).inCategory(category); });
    Decimal quantity, value;
    for (int r = 0; r < model_->rowCount(); ++r) {
        quantity += model_->decimal(r, QStringLiteral("kcsl"));
        value += model_->decimal(r, QStringLiteral("kcje"));
    }
    setTotals(quantity.toPlain(), value.toPlain());
}

void TFkcfx1::applyStockFilter(const GoodsFilter &filter, const QString &quantityText, const QString &valueText)
{
    showRows([filter] { return GoodsCatalogue(book()).query(filter); });
    setTotals(quantityText, valueText);
}

void TFkcfx1::queryClick()
{
    TFcxsp1 d(this);
    d.setTarget(static_cast<StockQueryTarget *>(this));
    d.exec();
}

void TFkcfx1::zeroClick()
{
    if (auto r = StockDetail::zeroingRefusal(StockDetail::mayZero(), model_->isOpen(), model_->rowCount()))
        return r->show();
    if (!prompt().confirm(StockDetail::zeroingQuestion())) return;
    // Exactly the rows on screen, whatever they were selected by.
    QList<qint64> ids;
    ids.reserve(model_->rowCount());
    for (int r = 0; r < model_->rowCount(); ++r) ids << model_->integer(r, QStringLiteral("id"));
    StockDetail::zeroStock(book(), ids);
    showZeroed();
    setTotals(QStringLiteral("0"), QStringLiteral("0"));
}

void TFkcfx1::showZeroed()
{
    // The batch stays on screen at 0, in the order shown: running its query again would drop
    // the rows a stock condition ("库存＞0") chose and hide what was just zeroed.
    using Cell = RecordTableModel::Cell;
    const int kcsl = model_->columnOf(QStringLiteral("kcsl")), kcje = model_->columnOf(QStringLiteral("kcje"));
    const QList<RecordTableModel::Column> &columns = model_->columns();
    std::vector<std::vector<Cell>> rows(size_t(model_->rowCount()));
    for (int r = 0; r < model_->rowCount(); ++r) {
        std::vector<Cell> &row = rows[size_t(r)];
        row.reserve(size_t(columns.size()));
        for (int c = 0; c < columns.size(); ++c) {
            if (c == kcsl || c == kcje) row.emplace_back(Decimal());
            else if (columns[c].kind == RecordTableModel::Text) row.emplace_back(model_->text(r, c));
            else if (columns[c].kind == RecordTableModel::Integer) row.emplace_back(model_->integer(r, c));
            else row.emplace_back(model_->decimal(r, c));
        }
    }
    model_->clearOpen();
    for (const std::vector<Cell> &row : rows) model_->appendRow(row);
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
}

void TFkcfx1::print(bool withPrices)
{
    const auto kind = withPrices ? StockDetail::PrintKind::WithPrices : StockDetail::PrintKind::WithoutPrices;
    if (auto r = StockDetail::printRefusal(kind, prices_, model_->isOpen(), model_->rowCount())) return r->show();
    ReportData report;
    report.title = company::printHeading(book()) + QStringLiteral("商品库存表");
    const QStringList fields = withPrices ? QStringList{"txm", "ppgg", "dw", "kcsl", "kcjg", "kcje"}
                                          : QStringList{"txm", "ppgg", "dw", "kcsl", "xjpf", "xjls"};
    QHash<QString, int> columns;
    for (const QString &f : fields) columns.insert(f, model_->columnOf(f));
    report.appendRows(*model_, columns);
    report.total(QStringLiteral("kcsl"), quantity_->text());
    if (withPrices) report.total(QStringLiteral("kcje"), value_->text());
    previewReport(withPrices ? QStringLiteral("TFdykcfx1") : QStringLiteral("TFdykcfx2"), report, this);
}

void TFkcfx1::printWithPrices() { print(true); }
void TFkcfx1::printWithoutPrices() { print(false); }

void TFkcfx1::exportClick()
{
    if (!ListWindow::requireOpen(model_)) return;
    ExportGridToExcel(grid_, windowTitle(), partner_form::dataDir());
}

void TFkcfx1::openAssembly(bool disassembly)
{
    if (auto r = StockDetail::assemblyRefusal(disassembly, prices_, model_->isOpen())) return r->show();
    if (disassembly) {
        TFchai1 d(this);
        d.exec();
    } else {
        TFzu1 d(this);
        d.exec();
    }
}

void TFkcfx1::assembleClick() { openAssembly(false); }
void TFkcfx1::disassembleClick() { openAssembly(true); }
