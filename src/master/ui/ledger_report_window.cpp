#include "master/ui/ledger_report_window.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/session.h"
#include "app/data/schema.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/report_bar.h"
#include "master/company_info.h"
#include "master/ui/partner_form.h"
#include "print/ui/print_preview.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Col = RecordTableModel::Column;
constexpr auto T = RecordTableModel::Text;
constexpr auto A = RecordTableModel::Amount;
constexpr auto Q = RecordTableModel::Quantity;

QList<Col> detailColumns(const LedgerKind &ledger, const QString &partyTitle)
{
    QList<Col> c = {{"rq", "日期", T}, {"txm", "编码", T}, {"ppgg", "商品名称", T}, {"dw", "单位", T},
                    {"sl", "数量", Q}, {"jg", "单价", A}};
    if (ledger.table != QLatin1String("rkfx")) c << Col{"zk", "折扣", A};
    c << Col{"je", "金额", A};
    if (ledger.withCost) c << Col{"cbje", "成本额", A} << Col{"maoli", "毛利润", A};
    if (ledger.table == QLatin1String("rkfx")) c << Col{"lx", partyTitle, T};
    else c << Col{ledger.party, partyTitle, T};
    c << Col{"jsr", "经办人", T} << Col{"dh", "单号", T} << Col{"ck", "仓库", T};
    return c;
}

QList<Col> statisticsColumns(const LedgerKind &ledger)
{
    QList<Col> c = {{"txm", "编码", T}, {"ppgg", "商品名称", T}, {"dw", "单位", T}, {"zsl", "数量", Q}, {"zje", "金额", A}};
    if (ledger.withCost) c << Col{"zcb", "成本额", A} << Col{"zmaoli", "毛利润", A};
    c << Col{"fenzu", "分组", T, false};
    return c;
}

} // namespace

LedgerReportWindow::LedgerReportWindow(Setup setup, QWidget *parent) : QWidget(parent), setup_(std::move(setup))
{
    setWindowTitle(setup_.caption);
    const bool detail = setup_.mode == Detail;
    const LedgerKind &ledger = *setup_.ledger;
    // Cost and gross profit are the administrator's alone, on screen and in every total.
    costShown_ = setup_.withCost && session::current().stYhm1 == schema::builtInOperator();

    model_ = new RecordTableModel(detail ? detailColumns(ledger, setup_.partyTitle) : statisticsColumns(ledger), this);
    model_->redRowsWhenNegative(detail ? QStringLiteral("sl") : QStringLiteral("zsl"));
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    for (const char *f : {"cbje", "maoli", "zcb", "zmaoli"}) {
        const int c = model_->columnOf(QString::fromLatin1(f));
        if (c >= 0) grid_->setColumnHidden(c, !costShown_);
    }

    auto *bar = new QHBoxLayout;
    QList<std::pair<QString, QString>> buttons;
    if (!detail) buttons << std::pair{QStringLiteral("SB66"), QStringLiteral("明细")};
    buttons << std::pair{QStringLiteral("SB77"), detail ? QStringLiteral("查询") : QStringLiteral("统计")}
            << std::pair{QStringLiteral("SB88"), QStringLiteral("打印")} << std::pair{QStringLiteral("SB99"), QStringLiteral("导出")}
            << std::pair{QStringLiteral("SB100"), QStringLiteral("关闭")};
    const auto b = ReportBar::addButtons(this, bar, buttons);
    if (!detail) connect(b["SB66"], &QPushButton::clicked, this, &LedgerReportWindow::detailClick);
    connect(b["SB77"], &QPushButton::clicked, this, &LedgerReportWindow::queryClick);
    connect(b["SB88"], &QPushButton::clicked, this, &LedgerReportWindow::printClick);
    connect(b["SB99"], &QPushButton::clicked, this, &LedgerReportWindow::exportClick);
    connect(b["SB100"], &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
    ReportBar::addRedLegend(this, bar, setup_.legend);
    QHBoxLayout *status = ReportBar::totalsRow(this, ledger.withCost ? 4 : 2, QString(), &totals_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(grid_);
    layout->addLayout(status);
    resize(900, 520);

    if (!detail) KeyFlow::gridActivates(grid_, b["SB66"], false);
    KeyFlow::escCloses(this, b["SB100"]);
    if (!detail) clearStatistics(LedgerGrouping::None);
}

QString LedgerReportWindow::totalText(int i) const { return totals_.value(i) ? totals_[i]->text() : QString(); }

void LedgerReportWindow::setTotals(const QList<Decimal> &values)
{
    for (int i = 0; i < totals_.size(); ++i) {
        const bool hidden = i >= 2 && !costShown_;
        totals_[i]->setText(hidden || i >= values.size() ? QString() : values[i].toPlain());
    }
}

void LedgerReportWindow::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (opened_) return;
    opened_ = true;
    // A detail list starts with today's lines.
    if (setup_.mode == Detail) showLines(LedgerQuery(book(), *setup_.ledger).onDay(dateText(QDate::currentDate())));
}

void LedgerReportWindow::closeEvent(QCloseEvent *e)
{
    model_->close();
    QWidget::closeEvent(e);
}

void LedgerReportWindow::showLines(const SqlFilter &f)
{
    opened_ = true;
    LedgerQuery q(book(), *setup_.ledger);
    display(q.rows(f));
    const LedgerTotals t = q.totals(f);
    setTotals({t.sl, t.je, t.cbje, t.maoli});
}

void LedgerReportWindow::display(QSqlQuery rows)
{
    // A year of lines, or statistics per customer and goods item, run to hundreds of thousands
    // of rows: the first screen comes at once and the rest follows while the operator reads.
    model_->loadLazily(std::move(rows), RecordTableModel::FirstScreen);
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
    model_->fetchRestInBackground();
}

void LedgerReportWindow::showFilter(const LedgerFilter &f) { showLines(LedgerQuery(book(), *setup_.ledger).conditions(f)); }

void LedgerReportWindow::showGoodsItem(const QString &txm, const QString &ppgg, const QString &dw,
                                       LedgerGrouping grouping, const QString &group)
{
    showLines(LedgerQuery(book(), *setup_.ledger).goodsItem(txm, ppgg, dw, grouping, group));
}

void LedgerReportWindow::clearStatistics(LedgerGrouping grouping)
{
    model_->close();
    grouping_ = grouping;
    const int fenzu = model_->columnOf(QStringLiteral("fenzu"));
    grid_->setColumnHidden(fenzu, grouping == LedgerGrouping::None);
    const QString title = grouping == LedgerGrouping::Party ? setup_.partyTitle : QStringLiteral("经办人");
    model_->setTitle(fenzu, title);
    // Sales statistics stand blank until computed; the others read 0.
    for (QLabel *l : totals_) l->setText(setup_.withCost ? QString() : QStringLiteral("0"));
}

void LedgerReportWindow::computeStatistics(const LedgerFilter &f, LedgerGrouping grouping)
{
    clearStatistics(grouping);
    LedgerQuery q(book(), *setup_.ledger);
    display(q.statistics(f, grouping));
    // The groups split the lines without overlap, so their totals are the lines' totals.
    const LedgerTotals t = q.totals(q.conditions(f));
    setTotals({t.sl, t.je, t.cbje, t.maoli});
    prompt().info(QStringLiteral("统计完毕！"));
}

void LedgerReportWindow::queryClick()
{
    LedgerQueryDialog d(setup_.dialog, this);
    if (setup_.mode == Statistics) {
        clearStatistics(LedgerGrouping::None);
        connect(&d, &LedgerQueryDialog::groupingChosen, this, &LedgerReportWindow::clearStatistics);
    }
    if (d.exec() != QDialog::Accepted) return;
    if (setup_.mode == Detail) showFilter(d.filter());
    else computeStatistics(d.filter(), d.grouping());
}

QString LedgerReportWindow::notOpenMessage() const
{
    return setup_.mode == Detail ? QStringLiteral("数据表未打开，请先查询！") : QStringLiteral("数据表未打开，请先统计！");
}

void LedgerReportWindow::detailClick()
{
    if (!model_->isOpen()) return prompt().warn(notOpenMessage());
    if (model_->rowCount() == 0) return prompt().warn(QStringLiteral("没有数据可查阅！"));
    const int row = qMax(grid_->currentIndex().row(), 0);
    LedgerReportWindow *detail = setup_.openDetail ? setup_.openDetail() : nullptr;
    if (!detail) return;
    detail->showGoodsItem(model_->text(row, QStringLiteral("txm")), model_->text(row, QStringLiteral("ppgg")),
                          model_->text(row, QStringLiteral("dw")), grouping_, model_->text(row, QStringLiteral("fenzu")));
}

ReportData LedgerReportWindow::reportData() const
{
    ReportData report;
    report.title = company::printHeading(book()) + setup_.caption;
    const QStringList fields = setup_.mode == Detail ? QStringList{"rq", "txm", "ppgg", "dw", "sl", "jg", "je"}
                                                     : QStringList{"txm", "ppgg", "dw", "zsl", "zje"};
    QHash<QString, int> columns;
    for (const QString &f : fields) columns.insert(f, model_->columnOf(f));
    report.appendRows(*model_, columns);
    // Cost and profit are never printed: only quantity and amount.
    const QString sl = setup_.mode == Detail ? QStringLiteral("sl") : QStringLiteral("zsl");
    const QString je = setup_.mode == Detail ? QStringLiteral("je") : QStringLiteral("zje");
    report.bind(fields).total(sl, totals_[0]->text()).total(je, totals_[1]->text());
    return report;
}

void LedgerReportWindow::printClick()
{
    if (!model_->isOpen()) return prompt().warn(notOpenMessage());
    previewReport(setup_.printLayout, reportData(), this);
}

void LedgerReportWindow::exportClick()
{
    if (!model_->isOpen()) return prompt().warn(notOpenMessage());
    ExportGridToExcel(grid_, setup_.caption, partner_form::dataDir());
}
