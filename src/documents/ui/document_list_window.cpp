#include "documents/ui/document_list_window.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/report_bar.h"
#include "documents/document_service.h"
#include "documents/ui/document_query_dialog.h"
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

namespace {
const QString NotOpen = QStringLiteral("数据表未打开，请先查询！");
// The first screen of a long list shows at once; the rest is read as the operator scrolls.
constexpr int FirstRows = 200;
} // namespace

DocumentListWindow::DocumentListWindow(DocumentListConfig config, QWidget *parent)
    : QWidget(parent), config_(std::move(config)), kind_(documentKind(config_.type))
{
    setWindowTitle(config_.caption);
    model_ = new RecordTableModel(config_.columns, this);
    model_->highlightNotApproved();
    // A document still owing (or owed) money is drawn in red.
    if (const int qk = model_->columnOf(QStringLiteral("qk")); qk >= 0)
        model_->setRowForeground([m = model_, qk](int row) -> std::optional<QColor> {
            if (!m->decimal(row, qk).isZero()) return QColor(Qt::red);
            return std::nullopt;
        });
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    if (const int dh = model_->columnOf(QStringLiteral("dh")); dh >= 0) grid_->setColumnWidth(dh, 130);
    connect(grid_, &QTableView::doubleClicked, this, [this] { viewClicked(); });

    auto *tools = new QHBoxLayout;
    auto *square = new QLabel(this);
    square->setFixedSize(12, 12);
    square->setStyleSheet(QStringLiteral("background: %1; border: 1px solid gray").arg(RecordTableModel::notApprovedColour().name()));
    tools->addWidget(square);
    auto *legend = new QLabel(QStringLiteral("未审核单据"), this);
    legend->setObjectName(QStringLiteral("Label1"));
    tools->addWidget(legend);
    tools->addSpacing(12);
    const auto buttons = ReportBar::addButtons(this, tools,
                                               {{"SB44", "反审"}, {"SB55", "查单"}, {"SB66", "删除"}, {"SB77", "查询"},
                                                {"SB88", "打印"}, {"SB99", "导出"}, {"SB100", "关闭"}});
    tools->addStretch();
    connect(buttons["SB44"], &QPushButton::clicked, this, [this] { unapproveClicked(); });
    connect(buttons["SB55"], &QPushButton::clicked, this, [this] { viewClicked(); });
    connect(buttons["SB66"], &QPushButton::clicked, this, [this] { deleteClicked(); });
    connect(buttons["SB77"], &QPushButton::clicked, this, [this] { queryClicked(); });
    connect(buttons["SB88"], &QPushButton::clicked, this, [this] { printClicked(); });
    connect(buttons["SB99"], &QPushButton::clicked, this, [this] { exportClicked(); });
    connect(buttons["SB100"], &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
    KeyFlow::escCloses(this, buttons["SB100"]);

    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const auto &[caption, run] : {std::pair<QString, void (DocumentListWindow::*)()>{"删除", &DocumentListWindow::deleteClicked},
                                       {"反审核", &DocumentListWindow::unapproveClicked}}) {
        auto *a = new QAction(caption, grid_);
        grid_->addAction(a);
        connect(a, &QAction::triggered, this, [this, run = run] { (this->*run)(); });
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(grid_);
    // Stock documents total their quantity and value only.
    layout->addLayout(ReportBar::totalsRow(this, kind_.hasMoney() ? 8 : 3, QString(), &totals_));
    resize(900, 500);

    DocumentListQuery q(book(), kind_);
    display(q.heldRows(), q.heldSums());
}

QString DocumentListWindow::totalText(int i) const { return i >= 0 && i < totals_.size() ? totals_[i]->text() : QString(); }

int DocumentListWindow::currentRow() const
{
    const int row = grid_->currentIndex().row();
    return row >= 0 && row < model_->rowCount() ? row : -1;
}

QString DocumentListWindow::currentNumber() const { return model_->text(currentRow(), QStringLiteral("dh")); }

void DocumentListWindow::display(QSqlQuery rows, const DocumentListSums &sums)
{
    model_->loadLazily(std::move(rows), FirstRows);
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
    sums_ = sums;
    showSums();
}

void DocumentListWindow::showSums()
{
    const QList<Decimal> shown{sums_.hjsl, sums_.hjje, sums_.payable, sums_.paid, sums_.qk};
    const int panel[] = {1, 2, 4, 5, 6};
    for (int i = 0; i < shown.size() && panel[i] < totals_.size(); ++i) totals_[panel[i]]->setText(shown[i].toPlain());
}

void DocumentListWindow::runQuery(const DocumentListFilter &f)
{
    DocumentListQuery q(book(), kind_);
    const DocumentListSums sums = q.sums(f);
    display(q.rows(f), sums);
}

void DocumentListWindow::queryClicked()
{
    std::unique_ptr<DocumentQueryDialog> d = config_.queryDialog(this);
    if (d->exec() == QDialog::Accepted) runQuery(d->filter());
}

void DocumentListWindow::viewClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    if (model_->rowCount() == 0 || currentRow() < 0) {
        prompt().warn(QStringLiteral("没有单据可查阅！"));
        return;
    }
    // The viewer walks every listed document, also those not read from the book yet.
    const int row = currentRow();
    model_->fetchAll();
    QStringList numbers;
    numbers.reserve(model_->rowCount());
    const int dh = model_->columnOf(QStringLiteral("dh"));
    for (int r = 0; r < model_->rowCount(); ++r) numbers << model_->text(r, dh);
    config_.openViewer(numbers, row);
}

void DocumentListWindow::unapproveClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    const int row = currentRow();
    if (model_->rowCount() == 0 || row < 0) {
        prompt().warn(QStringLiteral("没有单据可反审，请先查询！"));
        return;
    }
    const QString already = QStringLiteral("本单据已经反审！");
    if (model_->text(row, QStringLiteral("shbj")) == DocFlag::NotApproved) {
        prompt().warn(already);
        return;
    }
    if (!prompt().confirm(QStringLiteral("确定要反审此单据么？"))) return;
    switch (DocumentService(book(), kind_).unapprove(currentNumber())) {
    case DocumentService::Outcome::Done:
        break;
    case DocumentService::Outcome::AlreadyNotApproved:   // another counter was quicker
        prompt().warn(already);
        break;
    case DocumentService::Outcome::Missing:
        prompt().warn(QStringLiteral("本单据已被删除！"));
        return;
    }
    // The totals stay: un-approval changes no amount of the header.
    model_->setText(row, model_->columnOf(QStringLiteral("shbj")), DocFlag::NotApproved);
}

void DocumentListWindow::deleteClicked()
{
    if (!ListWindow::requireRows(model_, QStringLiteral("单据"), ListWindow::Delete)) return;
    const int row = currentRow();
    if (row < 0) {
        prompt().warn(QStringLiteral("没有单据可删除！"));
        return;
    }
    const QString withIt = kind_.hasMoney() ? QStringLiteral("明细和欠款") : QStringLiteral("明细");
    if (!prompt().confirm(QStringLiteral("确定要删除此单据么？\n特别提醒：\n同时删除与本单对应的%1！").arg(withIt))) return;
    // Gone either way: a document another counter deleted meanwhile leaves the list too.
    DocumentService(book(), kind_).remove(currentNumber());
    sums_.hjsl -= model_->decimal(row, QStringLiteral("hjsl"));
    sums_.hjje -= model_->decimal(row, QStringLiteral("hjje"));
    if (kind_.hasMoney()) {
        sums_.payable -= model_->decimal(row, kind_.payableColumn);
        sums_.paid -= model_->decimal(row, kind_.paidColumn);
        sums_.qk -= model_->decimal(row, QStringLiteral("qk"));
    }
    model_->removeRows(row, 1);
    showSums();
}

ReportData DocumentListWindow::reportData() const
{
    const QStringList fields =
        config_.printFields.isEmpty() ? QStringList{"rq", "dh", kind_.partyColumn, "hjsl", "hjje", "qk"} : config_.printFields;
    ReportData r;
    r.title = company::printHeading(book()) + config_.printName;
    QHash<QString, int> columns;
    for (const QString &f : fields) columns.insert(f, model_->columnOf(f));
    r.appendRows(*model_, columns);
    r.bind(fields);
    if (!config_.partyCaption.isEmpty()) r.caption(2, config_.partyCaption);
    r.total(QStringLiteral("hjsl"), sums_.hjsl.toPlain()).total(QStringLiteral("hjje"), sums_.hjje.toPlain());
    if (kind_.hasMoney()) r.total(QStringLiteral("qk"), sums_.qk.toPlain());
    return r;
}

void DocumentListWindow::printClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    previewReport(config_.printLayout, reportData(), this);
}

void DocumentListWindow::exportClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    ExportGridToExcel(grid_, windowTitle(), partner_form::dataDir());
}

void DocumentListWindow::closeEvent(QCloseEvent *e)
{
    model_->close();
    QWidget::closeEvent(e);
}
