#include "finance/ui/tfszfx1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/list_window.h"
#include "finance/ui/tfcxszfx1.h"
#include "finance/ui/tftjszfx1.h"
#include "print/ui/print_preview.h"

#include <QSqlQuery>

namespace {

const QString NotOpen = QStringLiteral("收支表未打开，请先查询！");

QList<RecordTableModel::Column> columns()
{
    using C = RecordTableModel::Column;
    return {C{"rq", "日期"},
            C{"lb", "类别"},
            C{"xm", "项目"},
            C{"se", "收入额", RecordTableModel::Amount},
            C{"ze", "支出额", RecordTableModel::Amount},
            C{"jsr", "经办人"},
            C{"bz", "备注"},
            C{"id", "id", RecordTableModel::Integer, false}};
}

} // namespace

TFszfx1::TFszfx1(QWidget *parent) : MoneyListFrame(QStringLiteral("其他收支明细表"), columns(), QStringLiteral("支出费用"), parent)
{
    setObjectName(QStringLiteral("TFszfx1"));
    addCommands({{QStringLiteral("SB44"), QStringLiteral("新增"), [this] { addClicked(); }},
                 {QStringLiteral("SB55"), QStringLiteral("修改"), [this] { editClicked(); }},
                 {QStringLiteral("SB66"), QStringLiteral("删除"), [this] { deleteClicked(); }},
                 {QStringLiteral("SB77"), QStringLiteral("查询"), [this] { queryClicked(); }},
                 {QStringLiteral("SB88"), QStringLiteral("打印"), [this] { printClicked(); }},
                 {QStringLiteral("SB99"), QStringLiteral("导出"), [this] { exportGrid(NotOpen); }}});
    addContextCommand(QStringLiteral("删除"), [this] { deleteClicked(); });
    setDoubleClick([this] { editClicked(); });
    RecordTableModel *m = model();
    const int ze = m->columnOf(QStringLiteral("ze"));
    m->setRowForeground([m, ze](int row) -> std::optional<QColor> {
        if (m->decimal(row, ze) > Decimal()) return QColor(Qt::red);
        return std::nullopt;
    });
}

void TFszfx1::opened() { runQuery(IncomeExpenseFilter::day(QDate::currentDate())); }

void TFszfx1::runQuery(const IncomeExpenseFilter &f)
{
    filter_ = f;
    filter_.kept.clear();
    refresh(0);
}

void TFszfx1::refresh(qint64 selectId)
{
    display(IncomeExpenseBook(book()).rows(filter_), selectId);
}

void TFszfx1::updateTotals()
{
    const Decimal income = sum(QStringLiteral("se")), expense = sum(QStringLiteral("ze"));
    setStatus({QStringLiteral("总计"), income.toPlain(), expense.toPlain(), (income - expense).toPlain()});
}

bool TFszfx1::requireRows(const QString &action)
{
    if (!model()->isOpen()) {
        prompt().warn(NotOpen);
        return false;
    }
    if (model()->rowCount() == 0 || currentRow() < 0) {
        prompt().warn(QStringLiteral("没有收支可%1！").arg(action));
        return false;
    }
    return true;
}

void TFszfx1::openEntry(int row)
{
    TFtjszfx1 d(this);
    if (row >= 0) {
        const RecordTableModel *m = model();
        d.setEditing(m->integer(row, QStringLiteral("id")), m->text(row, QStringLiteral("rq")), m->text(row, QStringLiteral("lb")),
                     m->text(row, QStringLiteral("xm")), m->decimal(row, QStringLiteral("se")),
                     m->decimal(row, QStringLiteral("ze")), m->text(row, QStringLiteral("jsr")), m->text(row, QStringLiteral("bz")));
    }
    connect(&d, &TFtjszfx1::saved, this, [this](qint64 id) {
        if (!filter_.kept.contains(id)) filter_.kept << id;
        refresh(id);
    });
    d.exec();
}

void TFszfx1::addClicked()
{
    if (!model()->isOpen()) refresh(0);
    openEntry(-1);
}

void TFszfx1::editClicked()
{
    if (requireRows(QStringLiteral("修改"))) openEntry(currentRow());
}

void TFszfx1::deleteClicked()
{
    if (!requireRows(QStringLiteral("删除")) || !ListWindow::confirmDelete(QStringLiteral("收支"))) return;
    const int row = currentRow();
    const qint64 id = model()->integer(row, QStringLiteral("id"));
    IncomeExpenseBook(book()).remove(id);
    filter_.kept.removeAll(id);
    model()->removeRows(row, 1);
    updateTotals();
}

void TFszfx1::queryClicked()
{
    TFcxszfx1 d(this);
    if (d.exec() == QDialog::Accepted) runQuery(d.filter());
}

ReportData TFszfx1::reportData() const
{
    ReportData r = report(QStringLiteral("其他收支明细表"), {"rq", "lb", "xm", "se", "ze", "jsr"});
    r.total(QStringLiteral("se"), statusText(1)).total(QStringLiteral("ze"), statusText(2));
    return r;
}

void TFszfx1::printClicked()
{
    if (!model()->isOpen()) {
        prompt().warn(NotOpen);
        return;
    }
    previewReport(QStringLiteral("TFdyszfx1"), reportData(), this);
}
