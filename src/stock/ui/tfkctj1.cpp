#include "stock/ui/tfkctj1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "app/widgets/report_bar.h"
#include "master/company_info.h"
#include "master/ui/partner_form.h"
#include "print/ui/print_preview.h"
#include "stock/goods_statistics.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString NotComputed = QStringLiteral("统计表未打开，请先统计！");

} // namespace

TFkctj1::TFkctj1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFkctj1"));
    setWindowTitle(QStringLiteral("商品进销存统计表"));

    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    dates_ = DateRange::make(this, QStringLiteral("日期范围"));
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("编码或品名"), this));
    top->addWidget(edit1_);
    top->addLayout(dates_.layout(QStringLiteral("至")));
    const auto b = ReportBar::addButtons(this, top, {{"BB1", "统计"}, {"BB2", "打印"}, {"BB3", "导出"}, {"BB4", "关闭"}});
    connect(b["BB1"], &QPushButton::clicked, this, &TFkctj1::computeClick);
    connect(b["BB2"], &QPushButton::clicked, this, &TFkctj1::printClick);
    connect(b["BB3"], &QPushButton::clicked, this, &TFkctj1::exportClick);
    QPushButton *close = b["BB4"];
    connect(close, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });

    using Col = RecordTableModel::Column;
    constexpr auto T = RecordTableModel::Text;
    constexpr auto Q = RecordTableModel::Quantity;
    constexpr auto A = RecordTableModel::Amount;
    model_ = new RecordTableModel({Col{"txm", "编码", T}, Col{"ppgg", "商品名称", T}, Col{"dw", "单位", T},
                                   Col{"cgsl", "采购数量", Q}, Col{"cgje", "采购金额", A}, Col{"xssl", "销售数量", Q},
                                   Col{"xsje", "销售金额", A}, Col{"rksl", "异动数量", Q}, Col{"rkje", "异动金额", A},
                                   Col{"ysl", "结存数量", Q}, Col{"yje", "结存金额", A}},
                                  this);
    model_->redRowsWhenNegative(QStringLiteral("yje"));
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);

    QList<QLabel *> totals;
    QHBoxLayout *status = ReportBar::totalsRow(this, 2, QStringLiteral("0"), &totals, QStringLiteral("结存＝采购－销售＋异动"));
    quantity_ = totals[0];
    value_ = totals[1];

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    layout->addLayout(status);
    resize(1000, 520);

    KeyFlow::onEnter(edit1_, [this] {
        computeClick();
        return true;
    });
    KeyFlow::enterMovesFocus(this, nullptr);   // the date box and dates move on
    KeyFlow::escCloses(this, close);
    edit1_->setFocus();
}

QString TFkctj1::quantityText() const { return quantity_->text(); }
QString TFkctj1::valueText() const { return value_->text(); }

void TFkctj1::computeClick()
{
    const GoodsStatisticsFilter f{edit1_->text(), dates_.checked(), dates_.fromText(), dates_.toText()};
    // Every goods item of years of ledgers: the first screen and the totals come at once, the
    // rest while the operator reads.
    model_->loadLazily(GoodsStatistics::rows(book(), f), RecordTableModel::FirstScreen);
    const GoodsStatisticsTotals t = GoodsStatistics::totals(book(), f);
    quantity_->setText(t.ysl.toPlain());
    value_->setText(t.yje.toPlain());
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
    model_->fetchRestInBackground();
}

void TFkctj1::printClick()
{
    if (!model_->isOpen()) return prompt().warn(NotComputed);
    ReportData report;
    report.title = company::printHeading(book()) + QStringLiteral("商品进销存统计表");
    QHash<QString, int> columns;
    for (const char *f : {"ppgg", "dw", "cgsl", "cgje", "xssl", "xsje", "rksl", "rkje", "ysl", "yje"})
        columns.insert(QString::fromLatin1(f), model_->columnOf(QString::fromLatin1(f)));
    report.appendRows(*model_, columns);
    report.total(QStringLiteral("ysl"), quantity_->text()).total(QStringLiteral("yje"), value_->text());
    previewReport(QStringLiteral("TFdykctj1"), report, this);
}

void TFkctj1::exportClick()
{
    if (!model_->isOpen()) return prompt().warn(NotComputed);
    ExportGridToExcel(grid_, windowTitle(), partner_form::dataDir());
}
