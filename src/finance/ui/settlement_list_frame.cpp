#include "finance/ui/settlement_list_frame.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "master/company_info.h"
#include "master/ui/partner_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QVBoxLayout>

MoneyListFrame::MoneyListFrame(const QString &caption, QList<RecordTableModel::Column> columns,
                               const QString &legend, QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(caption);
    model_ = new RecordTableModel(std::move(columns), this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    // Document numbers are 13 characters: show them whole.
    if (const int dh = model_->columnOf(QStringLiteral("dh")); dh >= 0) grid_->setColumnWidth(dh, 130);
    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);

    toolBar_ = new QWidget(this);
    auto *tools = new QHBoxLayout(toolBar_);
    tools->setContentsMargins(0, 0, 0, 0);
    auto *square = new QLabel(toolBar_);
    square->setFixedSize(12, 12);
    square->setStyleSheet(QStringLiteral("background: red"));
    tools->addWidget(square);
    auto *legendLabel = new QLabel(legend, toolBar_);
    legendLabel->setObjectName(QStringLiteral("Label1"));
    tools->addWidget(legendLabel);
    tools->addSpacing(12);

    auto *status = new QHBoxLayout;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(toolBar_);
    layout->addWidget(grid_);
    layout->addLayout(status);
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setMinimumWidth(i == 0 ? 40 : 100);
        panel->hide();
        status->addWidget(panel);
        panels_ << panel;
    }
    status->addStretch();
    resize(760, 460);
}

void MoneyListFrame::addCommands(const QList<Command> &commands)
{
    auto *tools = static_cast<QHBoxLayout *>(toolBar_->layout());
    QList<Command> all = commands;
    all.append({QStringLiteral("SB100"), QStringLiteral("关闭"), [this] { KeyFlow::closeWindow(this); }});
    QPushButton *close = nullptr;
    for (const Command &c : all) {
        auto *b = new QPushButton(c.caption, toolBar_);
        b->setObjectName(c.name);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, c.run);
        tools->addWidget(b);
        close = b;
    }
    tools->addStretch();
    KeyFlow::escCloses(this, close);
}

void MoneyListFrame::addContextCommand(const QString &caption, const std::function<void()> &run)
{
    auto *a = new QAction(caption, grid_);
    grid_->addAction(a);
    connect(a, &QAction::triggered, this, run);
}

void MoneyListFrame::setDoubleClick(const std::function<void()> &run)
{
    connect(grid_, &QTableView::doubleClicked, this, run);
}

void MoneyListFrame::setStatus(const QStringList &panels)
{
    for (int i = 0; i < panels_.size(); ++i) {
        panels_[i]->setVisible(i < panels.size());
        panels_[i]->setText(i < panels.size() ? panels[i] : QString());
    }
}

QString MoneyListFrame::statusText(int i) const { return i < panels_.size() ? panels_[i]->text() : QString(); }

int MoneyListFrame::currentRow() const
{
    const int row = grid_->currentIndex().row();
    return row >= 0 && row < model_->rowCount() ? row : -1;
}

void MoneyListFrame::display(QSqlQuery rows, qint64 selectId)
{
    // A year of payments is a hundred thousand rows and more: the first screen comes at once.
    model_->loadLazily(std::move(rows), RecordTableModel::FirstScreen);
    int select = model_->rowCount() > 0 ? 0 : -1;
    for (int r = 0; selectId && r < model_->rowCount(); ++r)
        if (model_->integer(r, QStringLiteral("id")) == selectId) select = r;
    if (selectId && select == 0) {
        model_->fetchAll();   // a row just saved may sit further down
        for (int r = 0; r < model_->rowCount(); ++r)
            if (model_->integer(r, QStringLiteral("id")) == selectId) select = r;
    }
    if (select >= 0) grid_->setCurrentIndex(model_->index(select, 0));
    model_->fetchRestInBackground([this] { rowsComplete(); });
}

Decimal MoneyListFrame::sum(const QString &field) const
{
    model_->fetchAll();
    const int column = model_->columnOf(field);
    Decimal total;
    for (int r = 0; r < model_->rowCount(); ++r) total += model_->decimal(r, column);
    return total;
}

ReportData MoneyListFrame::report(const QString &printName, const QStringList &fields) const
{
    ReportData r;
    r.title = company::printHeading(book()) + printName;
    QHash<QString, int> columns;
    for (const QString &f : fields) columns.insert(f, model_->columnOf(f));
    r.appendRows(*model_, columns);
    r.bind(fields);
    return r;
}

void MoneyListFrame::exportGrid(const QString &notOpen)
{
    if (!model_->isOpen()) {
        prompt().warn(notOpen);
        return;
    }
    ExportGridToExcel(grid_, windowTitle(), partner_form::dataDir());
}

void MoneyListFrame::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (opened_) return;
    opened_ = true;
    opened();
}

void MoneyListFrame::closeEvent(QCloseEvent *e)
{
    model_->close();
    QWidget::closeEvent(e);
}
