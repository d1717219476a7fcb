#include "documents/ui/held_document_chooser.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "documents/document_service.h"
#include "documents/entry_queries.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

HeldDocumentChooser::HeldDocumentChooser(Setup setup, QWidget *parent)
    : QDialog(parent), setup_(std::move(setup)), kind_(documentKind(setup_.type))
{
    setWindowTitle(setup_.caption);
    party_ = new QLineEdit(this);
    party_->setObjectName(QStringLiteral("Edit2"));
    range_ = DateRange::make(this, QStringLiteral("日期"));

    auto *cha = new QPushButton(QStringLiteral("查询"), this);
    cha->setObjectName(QStringLiteral("cha"));
    auto *xuan = new QPushButton(QStringLiteral("选择"), this);
    xuan->setObjectName(QStringLiteral("xuan"));
    auto *guan = new QPushButton(QStringLiteral("关闭"), this);
    guan->setObjectName(QStringLiteral("guan"));
    for (QPushButton *b : {cha, xuan, guan}) b->setAutoDefault(false);

    QList<RecordTableModel::Column> columns = {{"shbj", "审核"}, {"rq", "日期"}, {"dh", "单号"}};
    if (!setup_.shownColumns.isEmpty())
        for (const auto &[column, title] : setup_.shownColumns) columns.append({column, title});
    else if (!kind_.partyColumn.isEmpty())
        columns.append({kind_.partyColumn, setup_.partyCaption});
    columns << RecordTableModel::Column{"hjsl", "合计数量", RecordTableModel::Quantity}
            << RecordTableModel::Column{"hjje", "合计金额", RecordTableModel::Amount}
            << RecordTableModel::Column{"jsr", "经办人"};
    model_ = new RecordTableModel(columns, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    grid_->setColumnWidth(model_->columnOf(QStringLiteral("dh")), 130);   // numbers shown whole

    auto *filters = new QHBoxLayout;
    if (!filterColumn().isEmpty()) {
        filters->addWidget(new QLabel(setup_.partyCaption, this));
        filters->addWidget(party_);
    } else {
        party_->hide();
    }
    filters->addLayout(range_.layout());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {cha, xuan, guan}) buttons->addWidget(b);
    auto *all = new QVBoxLayout(this);
    all->addLayout(filters);
    all->addWidget(grid_, 1);
    all->addLayout(buttons);
    resize(760, 420);

    connect(cha, &QPushButton::clicked, this, &HeldDocumentChooser::query);
    connect(xuan, &QPushButton::clicked, this, &HeldDocumentChooser::choose);
    connect(guan, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the party box queries; in the box and the dates it walks on; in the grid it chooses.
    KeyFlow::onEnter(party_, [this] {
        query();
        return true;
    });
    KeyFlow::enterMovesFocus(this, nullptr);
    KeyFlow::gridActivates(grid_, xuan);
    KeyFlow::escCloses(this, guan);
}

void HeldDocumentChooser::setPartyFilter(const QString &party) { party_->setText(party); }

QString HeldDocumentChooser::filterColumn() const
{
    return setup_.filterColumn.isEmpty() ? kind_.partyColumn : setup_.filterColumn;
}

void HeldDocumentChooser::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    range_.reset();
    query();
}

void HeldDocumentChooser::query()
{
    EntryQueries::HeldFilter f;
    f.party = party_->text();
    f.partyColumn = filterColumn();
    if (range_.checked()) {
        f.from = range_.fromText();
        f.to = range_.toText();
    }
    f.warehouseColumn = setup_.warehouseColumn;
    f.warehouse = warehouse_;
    QSqlQuery q = EntryQueries::heldDocuments(book(), kind_, f);
    model_->load(q);
    grid_->setFocus();
    if (model_->rowCount() > 0) grid_->selectRow(0);
}

void HeldDocumentChooser::choose()
{
    const int row = grid_->currentIndex().row();
    if (model_->rowCount() == 0 || row < 0) {
        prompt().warn(QStringLiteral("没有单据可选择！"));
        return;
    }
    const std::optional<DocumentHeader> h = DocumentService(book(), kind_).header(model_->text(row, "dh"));
    if (!h || h->approved()) {   // approved or deleted meanwhile at another counter
        query();
        prompt().warn(QStringLiteral("没有单据可选择！"));
        return;
    }
    if (chosen_) chosen_(*h);
    accept();
}
