#include "admin/ui/tfyhsz1.h"

#include "admin/operator_book.h"
#include "admin/ui/tfquanxian1.h"
#include "admin/ui/tftjyh1.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/report_bar.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFyhsz1::TFyhsz1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("操作员设置"));
    model_ = new RecordTableModel({{"id", "id", RecordTableModel::Integer, false}, {"yhmc", "用户名称"}}, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    grid_->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QVBoxLayout;
    ReportBar::addCommandButtons<TFyhsz1>(this, buttons,
                                          {{QStringLiteral("新增"), &TFyhsz1::addClicked},
                                           {QStringLiteral("修改"), &TFyhsz1::modifyClicked},
                                           {QStringLiteral("删除"), &TFyhsz1::deleteClicked},
                                           {QStringLiteral("权限"), &TFyhsz1::permissionsClicked}});
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("BitBtn5"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    resize(360, 300);

    KeyFlow::gridEnterAsTab(grid_);
    KeyFlow::gridActivates(grid_, findChild<QPushButton *>(QStringLiteral("BitBtn2")), false);
    KeyFlow::escCloses(this, close);
    requery();
}

void TFyhsz1::requery(const QString &name)
{
    QSqlQuery q = OperatorBook(book()).list();
    model_->load(q);
    int row = model_->rowCount() > 0 ? 0 : -1;
    for (int r = 0; !name.isEmpty() && r < model_->rowCount(); ++r)
        if (model_->text(r, QStringLiteral("yhmc")) == name) row = r;
    if (row >= 0) grid_->selectRow(row);
}

QString TFyhsz1::currentName() const
{
    const int row = grid_->currentIndex().row();
    return row >= 0 ? model_->text(row, QStringLiteral("yhmc")) : QString();
}

void TFyhsz1::addClicked()
{
    TFtjyh1 d(this);
    d.startAdding();
    d.exec();
    requery(currentName());
}

void TFyhsz1::modifyClicked()
{
    if (!ListWindow::requireRows(model_, QStringLiteral("操作员"), ListWindow::Edit)) return;
    const QString name = currentName();
    TFtjyh1 d(this);
    d.startModifying(name);
    d.exec();
    requery(name);
}

void TFyhsz1::deleteClicked()
{
    if (!ListWindow::requireRows(model_, QStringLiteral("操作员"), ListWindow::Delete)) return;
    const QString name = currentName();
    if (const std::optional<Refusal> refused = OperatorBook::checkRemovable(name)) {
        refused->show();
        return;
    }
    if (!prompt().confirm(OperatorBook::DeleteQuestion)) return;
    OperatorBook(book()).remove(name);
    requery();
}

void TFyhsz1::permissionsClicked()
{
    TFquanxian1 d(this);
    d.exec();
}
