#include "master/ui/partner_list_window.h"

#include "app/data/database.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/report_bar.h"
#include "app/widgets/list_window.h"
#include "master/company_info.h"
#include "master/ui/partner_form.h"
#include "print/ui/print_preview.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

PartnerListWindow::PartnerListWindow(Setup setup, QWidget *parent) : QWidget(parent), setup_(std::move(setup))
{
    setWindowTitle(setup_.caption);
    model_ = new RecordTableModel(setup_.columns, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);

    auto *remove = new QAction(QStringLiteral("删除"), grid_);
    remove->setObjectName(QStringLiteral("N1"));
    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid_->addAction(remove);
    connect(remove, &QAction::triggered, this, &PartnerListWindow::deleteClicked);

    auto *buttons = new QHBoxLayout;
    const int n = int(ReportBar::addCommandButtons<PartnerListWindow>(
                          this, buttons,
                          {{QStringLiteral("导入"), &PartnerListWindow::importClicked},
                           {QStringLiteral("新增"), &PartnerListWindow::addClicked},
                           {QStringLiteral("修改"), &PartnerListWindow::editClicked},
                           {QStringLiteral("删除"), &PartnerListWindow::deleteClicked},
                           {QStringLiteral("查询"), &PartnerListWindow::queryClicked},
                           {QStringLiteral("打印"), &PartnerListWindow::printClicked},
                           {QStringLiteral("导出"), &PartnerListWindow::exportClicked}})
                          .size());
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("BitBtn%1").arg(n + 1));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
    buttons->addWidget(close);
    buttons->addStretch();
    hj_ = new QLabel(this);
    hj_->setObjectName(QStringLiteral("HJ"));
    buttons->addWidget(hj_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(grid_);

    KeyFlow::gridEnterAsTab(grid_);
    KeyFlow::gridActivates(grid_, qobject_cast<QPushButton *>(findChild<QPushButton *>("BitBtn3")), false);
    KeyFlow::escCloses(this, close);
    rows_ = [this] { return allRows(); };
}

qint64 PartnerListWindow::currentId() const
{
    const int row = grid_->currentIndex().row();
    if (row < 0 || row >= model_->rowCount()) return 0;
    return model_->integer(row, QStringLiteral("id"));
}

void PartnerListWindow::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (shown_) return;
    shown_ = true;
    reload();
}

void PartnerListWindow::closeEvent(QCloseEvent *e)
{
    model_->close();
    QWidget::closeEvent(e);
}

void PartnerListWindow::display(const Rows &rows, qint64 selectId)
{
    try {
        QSqlQuery q = rows();
        model_->load(q);
        rows_ = rows;
    } catch (const DbError &err) {
        prompt().warn(err.text());
        return;
    }
    int select = model_->rowCount() > 0 ? 0 : -1;
    for (int r = 0; selectId && r < model_->rowCount(); ++r)
        if (model_->integer(r, QStringLiteral("id")) == selectId) select = r;
    if (select >= 0) grid_->setCurrentIndex(model_->index(select, 0));
    updateCount();
}

void PartnerListWindow::reload(qint64 selectId) { display(rows_, selectId); }

void PartnerListWindow::updateCount() { hj_->setText(ListWindow::recordCountText(model_->rowCount())); }

void PartnerListWindow::importClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    // Imported rows join the book: show the whole book again.
    if (openImport()) display([this] { return allRows(); }, 0);
}

void PartnerListWindow::addClicked()
{
    if (setup_.addNeedsOpenList && !ListWindow::requireOpen(model_)) return;
    const qint64 id = openDialog(0);
    reload(id);
}

void PartnerListWindow::editClicked()
{
    if (!ListWindow::requireRows(model_, setup_.noun, ListWindow::Edit)) return;
    const qint64 id = currentId();
    if (!id) return;
    openDialog(id);
    reload(id);
}

void PartnerListWindow::deleteClicked()
{
    if (!ListWindow::requireRows(model_, setup_.noun, ListWindow::Delete)) return;
    const int row = grid_->currentIndex().row();
    const qint64 id = currentId();
    if (!id || !ListWindow::confirmDelete(setup_.noun)) return;
    removeRecord(id);
    model_->removeRows(row, 1);
    updateCount();
}

void PartnerListWindow::queryClicked()
{
    if (Rows rows = openQuery()) display(rows, 0);
}

ReportData PartnerListWindow::reportData() const
{
    ReportData report;
    try {
        report.title = company::printHeading(book()) + setup_.printName;
    } catch (const DbError &) {
        report.title = setup_.printName;
    }
    QHash<QString, int> columns;
    for (const QString &f : setup_.printFields) columns.insert(f, model_->columnOf(f));
    report.appendRows(*model_, columns);
    return report;
}

void PartnerListWindow::printClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    previewReport(setup_.printLayout, reportData(), this);
}

void PartnerListWindow::exportClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    ExportGridToExcel(grid_, setup_.caption, partner_form::dataDir());
}
