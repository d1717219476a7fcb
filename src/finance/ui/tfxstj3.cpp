#include "finance/ui/tfxstj3.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "app/widgets/report_bar.h"
#include "finance/analysis.h"
#include "master/company_info.h"
#include "master/ui/partner_form.h"
#include "print/ui/print_preview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString NotComputed = QStringLiteral("数据表未打开，请先统计！");
const QStringList Figures = {"sltc", "jetc", "ztc"};

} // namespace

TFxstj3::TFxstj3(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFxstj3"));
    setWindowTitle(QStringLiteral("员工提成表"));

    dates_ = DateRange::make(this, QStringLiteral("日期范围"));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    auto *top = new QHBoxLayout;
    top->addLayout(dates_.layout(QStringLiteral("至")));
    top->addWidget(new QLabel(QStringLiteral("员　　工"), this));
    top->addWidget(edit_);
    const auto b = ReportBar::addButtons(this, top, {{"BB1", "统计"}, {"BB2", "打印"}, {"BB3", "导出"}, {"BB4", "关闭"}});
    connect(b["BB1"], &QPushButton::clicked, this, &TFxstj3::computeClick);
    connect(b["BB2"], &QPushButton::clicked, this, &TFxstj3::printClick);
    connect(b["BB3"], &QPushButton::clicked, this, &TFxstj3::exportClick);
    QPushButton *close = b["BB4"];
    connect(close, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });

    using Col = RecordTableModel::Column;
    model_ = new RecordTableModel({Col{"yuangong", "员工", RecordTableModel::Text}, Col{"sltc", "销售提成额", RecordTableModel::Amount},
                                   Col{"jetc", "金额提成额", RecordTableModel::Amount}, Col{"ztc", "总提成额", RecordTableModel::Amount}},
                                  this);
    model_->redRowsWhenNegative(QStringLiteral("ztc"));
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);

    QHBoxLayout *status = ReportBar::totalsRow(this, 3, QStringLiteral("0.00"), &totals_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    layout->addLayout(status);
    resize(760, 480);
    KeyFlow::enterMovesFocus(this, b["BB1"]);
    KeyFlow::escCloses(this, close);
}

QString TFxstj3::totalText(int i) const { return totals_.value(i) ? totals_[i]->text() : QString(); }

void TFxstj3::computeClick()
{
    const QList<Analysis::CommissionRow> rows =
        Analysis::commissions(book(), {edit_->text(), dates_.checked(), dates_.fromText(), dates_.toText()});
    model_->clearOpen();
    Decimal sums[3];
    for (const auto &r : rows) {
        model_->appendRow({r.yuangong, r.sltc, r.jetc, r.ztc});
        sums[0] += r.sltc;
        sums[1] += r.jetc;
        sums[2] += r.ztc;
    }
    for (int i = 0; i < 3; ++i) totals_[i]->setText(sums[i].toPlain());
    prompt().info(QStringLiteral("统计完毕！"));
}

void TFxstj3::printClick()
{
    if (!model_->isOpen()) return prompt().warn(NotComputed);
    ReportData report;
    report.title = company::printHeading(book()) + QStringLiteral("销售统计表（提成）");
    QHash<QString, int> columns;
    for (const QString &f : QStringList{"yuangong"} + Figures) columns.insert(f, model_->columnOf(f));
    report.appendRows(*model_, columns);
    for (int i = 0; i < 3; ++i) report.total(Figures[i], totals_[i]->text());
    previewReport(QStringLiteral("TFdyxstj3"), report, this);
}

void TFxstj3::exportClick()
{
    if (!model_->isOpen()) return prompt().warn(NotComputed);
    ExportGridToExcel(grid_, windowTitle(), partner_form::dataDir());
}
