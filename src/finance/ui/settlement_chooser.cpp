#include "finance/ui/settlement_chooser.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "finance/ui/settlement_list_frame.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QVBoxLayout>

OwedDocumentChooser::OwedDocumentChooser(SettlementKind kind, QWidget *parent)
    : QDialog(parent), service_(book(), kind), dates_(DateRange::make(this, QStringLiteral("日期")))
{
    const SettlementConfig &c = service_.config();
    setWindowTitle(c.chooserCaption);
    using C = RecordTableModel::Column;
    model_ = new RecordTableModel({C{"rq", "日期"}, C{"dh", "单号"}, C{c.partner, c.partnerCaption},
                                   C{c.payable, c.payableCaption, RecordTableModel::Amount},
                                   C{c.paid, c.paidCaption, RecordTableModel::Amount},
                                   C{"qk", "欠款", RecordTableModel::Amount}, C{"jsr", "经办人"},
                                   C{"id", "id", RecordTableModel::Integer, false}},
                                  this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    // Document numbers are 13 characters: show them whole.
    if (const int dh = model_->columnOf(QStringLiteral("dh")); dh >= 0) grid_->setColumnWidth(dh, 130);

    partner_ = new QLineEdit(this);
    partner_->setObjectName(QStringLiteral("Edit1"));
    auto *cha = new QPushButton(QStringLiteral("查询"), this);
    cha->setObjectName(QStringLiteral("cha"));
    auto *xuan = new QPushButton(QStringLiteral("选择"), this);
    xuan->setObjectName(QStringLiteral("xuan"));
    auto *guan = new QPushButton(QStringLiteral("关闭"), this);
    guan->setObjectName(QStringLiteral("guan"));
    for (QPushButton *b : {cha, xuan, guan}) b->setAutoDefault(false);
    connect(cha, &QPushButton::clicked, this, &OwedDocumentChooser::query);
    connect(xuan, &QPushButton::clicked, this, &OwedDocumentChooser::choose);
    connect(guan, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(dates_.box);
    top->addWidget(dates_.from);
    top->addWidget(new QLabel(QStringLiteral("至"), this));
    top->addWidget(dates_.to);
    top->addWidget(new QLabel(c.partnerCaption, this));
    top->addWidget(partner_, 1);
    top->addWidget(cha);
    top->addWidget(xuan);
    top->addWidget(guan);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    resize(760, 420);

    KeyFlow::enterMovesFocus(this, nullptr);
    KeyFlow::onEnter(partner_, [this] {
        query();
        return true;
    });
    KeyFlow::gridActivates(grid_, xuan);
    KeyFlow::escCloses(this, guan);
}

void OwedDocumentChooser::setPreset(const QString &partner, Chosen chosen)
{
    partner_->setText(partner);
    chosen_ = std::move(chosen);
}

void OwedDocumentChooser::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    dates_.reset();
    query();
}

void OwedDocumentChooser::query()
{
    QSqlQuery q = service_.owedDocuments(partner_->text(), dates_.range());
    model_->load(q);
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
    grid_->setFocus();
}

void OwedDocumentChooser::choose()
{
    if (model_->rowCount() == 0) {
        prompt().warn(QStringLiteral("没有帐单可选择！"));
        return;
    }
    const int row = qMax(0, grid_->currentIndex().row());
    const SettlementConfig &c = service_.config();
    if (chosen_) chosen_({model_->text(row, QStringLiteral("dh")), model_->text(row, c.partner), model_->decimal(row, QStringLiteral("qk"))});
    accept();
}
