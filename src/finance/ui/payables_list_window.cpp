#include "finance/ui/payables_list_window.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/list_window.h"
#include "finance/ui/document_viewers.h"
#include "finance/ui/tfcxysfx1.h"
#include "finance/ui/tfcxyffx1.h"
#include "print/ui/print_preview.h"

#include <QSqlQuery>

#include <memory>

namespace {

QList<RecordTableModel::Column> columns(const SettlementConfig &c)
{
    using C = RecordTableModel::Column;
    return {C{"rq", "日期"},
            C{"dh", "单号"},
            C{c.partner, c.partnerCaption},
            C{c.payable, c.payableCaption, RecordTableModel::Amount},
            C{c.paid, c.paidCaption, RecordTableModel::Amount},
            C{"qk", "欠款", RecordTableModel::Amount},
            C{"jsr", "经办人"},
            C{"bz", "备注"},
            C{"id", "id", RecordTableModel::Integer, false}};
}

} // namespace

PayablesListWindow::PayablesListWindow(SettlementKind side, QWidget *parent)
    : MoneyListFrame(PayablesTexts::of(side).caption, columns(SettlementConfig::of(side)), PayablesTexts::of(side).legend,
                     parent),
      book_(book(), side), texts_(PayablesTexts::of(side))
{
    addCommands({{QStringLiteral("SB66"), QStringLiteral("查单"), [this] { viewClicked(); }},
                 {QStringLiteral("SB77"), QStringLiteral("查询"), [this] { queryClicked(); }},
                 {QStringLiteral("SB88"), QStringLiteral("打印"), [this] { printClicked(); }},
                 {QStringLiteral("SB99"), QStringLiteral("导出"), [this] { exportGrid(); }}});
    setDoubleClick([this] { viewClicked(); });
    RecordTableModel *m = model();
    const int qk = m->columnOf(QStringLiteral("qk"));
    m->setRowForeground([m, qk](int row) -> std::optional<QColor> {
        if (m->decimal(row, qk).isNegative()) return QColor(Qt::red);
        return std::nullopt;
    });
}

void PayablesListWindow::opened() { runQuery({}); }

void PayablesListWindow::runQuery(const PayablesFilter &f)
{
    display(book_.rows(f));
}

void PayablesListWindow::rowsComplete()
{
    setStatus({QStringLiteral("总计"), sum(QStringLiteral("qk")).toPlain(), QStringLiteral("默认显示全部数据")});
}

void PayablesListWindow::viewClicked()
{
    if (!ListWindow::requireOpen(model())) return;
    const int row = currentRow();
    if (model()->rowCount() == 0 || row < 0) {
        prompt().warn(texts_.nothingToView);
        return;
    }
    QStringList listed;
    for (int r = 0; r < model()->rowCount(); ++r) listed << model()->text(r, QStringLiteral("dh"));
    DocumentViewers::open(config().documents, listed[row], listed);
}

void PayablesListWindow::queryClicked()
{
    std::unique_ptr<PayablesQueryDialog> d;
    if (config().kind == SettlementKind::Payment) d = std::make_unique<TFcxyffx1>(this);
    else d = std::make_unique<TFcxysfx1>(this);
    if (d->exec() == QDialog::Accepted) runQuery(d->filter());
}

ReportData PayablesListWindow::reportData() const
{
    const SettlementConfig &c = config();
    ReportData r = report(texts_.printName, {"rq", "dh", c.partner, c.payable, c.paid, "qk"});
    r.caption(2, c.partnerCaption).caption(3, c.payableCaption).caption(4, c.paidCaption);
    r.total(QStringLiteral("qk"), statusText(1));
    return r;
}

void PayablesListWindow::printClicked()
{
    if (!ListWindow::requireOpen(model())) return;
    previewReport(QStringLiteral("TFdyyffx1"), reportData(), this);
}
