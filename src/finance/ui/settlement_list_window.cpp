#include "finance/ui/settlement_list_window.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/list_window.h"
#include "finance/ui/tfcxfkfx1.h"
#include "finance/ui/tfcxskfx1.h"
#include "finance/ui/tftjfkfx1.h"
#include "finance/ui/tftjskfx1.h"
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
            C{"je", c.amountCaption, RecordTableModel::Amount},
            C{"jsr", "经办人"},
            C{"bz", "备注"},
            C{"shbj", "审核"},
            C{"id", "id", RecordTableModel::Integer, false}};
}

const QString NotOpen = QStringLiteral("数据表未打开，请先查询！");

} // namespace

SettlementListWindow::SettlementListWindow(SettlementKind kind, QWidget *parent)
    : MoneyListFrame(SettlementConfig::of(kind).listCaption, columns(SettlementConfig::of(kind)),
                     SettlementConfig::of(kind).legend, parent),
      service_(book(), kind)
{
    addCommands({{QStringLiteral("SB33"), QStringLiteral("反审"), [this] { unapproveClicked(); }},
                 {QStringLiteral("SB44"), QStringLiteral("新增"), [this] { addClicked(); }},
                 {QStringLiteral("SB55"), QStringLiteral("修改"), [this] { editClicked(); }},
                 {QStringLiteral("SB66"), QStringLiteral("删除"), [this] { deleteClicked(); }},
                 {QStringLiteral("SB77"), QStringLiteral("查询"), [this] { queryClicked(); }},
                 {QStringLiteral("SB88"), QStringLiteral("打印"), [this] { printClicked(); }},
                 {QStringLiteral("SB99"), QStringLiteral("导出"), [this] { exportGrid(); }}});
    addContextCommand(QStringLiteral("删除"), [this] { deleteClicked(); });
    addContextCommand(QStringLiteral("反审核"), [this] { unapproveClicked(); });
    setDoubleClick([this] { editClicked(); });
    RecordTableModel *m = model();
    const int je = m->columnOf(QStringLiteral("je"));
    m->setRowForeground([m, je](int row) -> std::optional<QColor> {
        if (m->decimal(row, je).isNegative()) return QColor(Qt::red);
        return std::nullopt;
    });
    m->highlightNotApproved();
}

void SettlementListWindow::opened() { runQuery(SettlementFilter::day(QDate::currentDate())); }

void SettlementListWindow::runQuery(const SettlementFilter &f)
{
    filter_ = f;
    filter_.kept.clear();
    refresh(0);
}

void SettlementListWindow::refresh(qint64 selectId)
{
    display(service_.rows(filter_), selectId);
}

void SettlementListWindow::updateTotal() { setStatus({QStringLiteral("总计"), sum(QStringLiteral("je")).toPlain()}); }

qint64 SettlementListWindow::currentId() const
{
    const int row = currentRow();
    return row < 0 ? 0 : model()->integer(row, QStringLiteral("id"));
}

void SettlementListWindow::openEntry(const SettlementRow *row)
{
    std::unique_ptr<SettlementEntryDialog> d;
    if (config().kind == SettlementKind::Payment) d = std::make_unique<TFtjfkfx1>(this);
    else d = std::make_unique<TFtjskfx1>(this);
    if (row) d->setEditing(*row);
    connect(d.get(), &SettlementEntryDialog::saved, this, [this](qint64 id) {
        if (!filter_.kept.contains(id)) filter_.kept << id;
        refresh(id);
    });
    d->exec();
}

void SettlementListWindow::addClicked()
{
    if (!model()->isOpen()) refresh(0);
    openEntry(nullptr);
}

void SettlementListWindow::editClicked()
{
    if (!ListWindow::requireRows(model(), QStringLiteral("数据"), ListWindow::Edit)) return;
    const int r = currentRow();
    if (r < 0) return;
    RecordTableModel *m = model();
    if (m->text(r, QStringLiteral("shbj")) == SettlementService::Approved) {
        prompt().warn(QStringLiteral("审核数据不可修改，请先反审核！"));
        return;
    }
    const SettlementRow row{m->integer(r, QStringLiteral("id")), m->text(r, QStringLiteral("rq")),
                            m->text(r, QStringLiteral("dh")),    m->text(r, config().partner),
                            m->decimal(r, QStringLiteral("je")), m->text(r, QStringLiteral("jsr")),
                            m->text(r, QStringLiteral("bz"))};
    openEntry(&row);
}

void SettlementListWindow::unapproveClicked()
{
    if (!model()->isOpen()) {
        prompt().warn(NotOpen);
        return;
    }
    if (model()->rowCount() == 0) {
        prompt().warn(QStringLiteral("没有数据可反审，请先查询！"));
        return;
    }
    const int r = currentRow();
    if (r < 0) return;
    if (model()->text(r, QStringLiteral("shbj")) != SettlementService::Approved) {
        prompt().warn(SettlementService::AlreadyUnapproved);
        return;
    }
    if (!prompt().confirm(QStringLiteral("确定要反审么？"))) return;
    const qint64 id = currentId();
    const std::optional<Refusal> refused = service_.unapprove(id);
    if (refused) refused->show();
    // The amount stays listed: only the flag of the row changes.
    refresh(id);
}

void SettlementListWindow::deleteClicked()
{
    if (!ListWindow::requireRows(model(), QStringLiteral("数据"), ListWindow::Delete)) return;
    const int r = currentRow();
    if (r < 0 || !ListWindow::confirmDelete(QStringLiteral("记录"))) return;
    const qint64 id = currentId();
    service_.remove(id);
    filter_.kept.removeAll(id);
    model()->removeRows(r, 1);
    updateTotal();
}

void SettlementListWindow::queryClicked()
{
    std::unique_ptr<SettlementQueryDialog> d;
    if (config().kind == SettlementKind::Payment) d = std::make_unique<TFcxfkfx1>(this);
    else d = std::make_unique<TFcxskfx1>(this);
    if (d->exec() == QDialog::Accepted) runQuery(d->filter());
}

ReportData SettlementListWindow::reportData() const
{
    const SettlementConfig &c = config();
    ReportData r = report(c.printName, {"rq", "dh", c.partner, "je", "jsr"});
    r.caption(2, c.partnerCaption).caption(3, c.amountCaption);
    r.total(QStringLiteral("je"), statusText(1));
    return r;
}

void SettlementListWindow::printClicked()
{
    if (!ListWindow::requireOpen(model())) return;
    previewReport(QStringLiteral("TFdyfkfx1"), reportData(), this);
}
