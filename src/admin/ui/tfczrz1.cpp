#include "admin/ui/tfczrz1.h"

#include "admin/book_maintenance.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/grid_export.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString Everyone = QStringLiteral("全部");

QDateEdit *dateField(QWidget *owner, const QString &name, const QDate &day)
{
    auto *d = new QDateEdit(day, owner);
    d->setObjectName(name);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return d;
}

QComboBox *choiceField(QWidget *owner, const QString &name)
{
    auto *c = new QComboBox(owner);
    c->setObjectName(name);
    c->setMinimumWidth(110);
    return c;
}

// The combo's entries: "全部" first, then what the log holds; the choice is kept when it is
// still offered.
void offer(QComboBox *c, const QStringList &values)
{
    const QString kept = c->currentText();
    c->clear();
    c->addItem(Everyone);
    c->addItems(values);
    c->setCurrentIndex(std::max(0, int(c->findText(kept))));
}

} // namespace

TFczrz1::TFczrz1(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("操作日志"));
    const QDate today = QDate::currentDate();
    from_ = dateField(this, QStringLiteral("DateTimePicker1"), today.addMonths(-1));
    to_ = dateField(this, QStringLiteral("DateTimePicker2"), today);
    operators_ = choiceField(this, QStringLiteral("ComboBox1"));
    actions_ = choiceField(this, QStringLiteral("ComboBox2"));

    auto *form = new QHBoxLayout;
    const QList<std::pair<QString, QWidget *>> fields = {{QStringLiteral("起始日期"), from_},
                                                          {QStringLiteral("截止日期"), to_},
                                                          {QStringLiteral("操作员"), operators_},
                                                          {QStringLiteral("操作"), actions_}};
    for (const auto &[caption, field] : fields) {
        form->addWidget(new QLabel(caption, this));
        form->addWidget(field);
    }
    QPushButton *run = nullptr, *close = nullptr;
    const QStringList captions = {QStringLiteral("查询"), QStringLiteral("导出"), QStringLiteral("关闭")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *b = new QPushButton(captions[i], this);
        b->setObjectName(QStringLiteral("BitBtn%1").arg(i + 1));
        b->setAutoDefault(false);
        form->addWidget(b);
        if (i == 0) run = b;
        if (i == 1) connect(b, &QPushButton::clicked, this, &TFczrz1::exportClicked);
        if (i == 2) close = b;
    }
    form->addStretch();
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("HJ"));
    form->addWidget(count_);
    connect(run, &QPushButton::clicked, this, &TFczrz1::queryClicked);
    connect(close, &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });

    model_ = new RecordTableModel({{"sj", "时间"}, {"czy", "操作员"}, {"cz", "操作"}, {"dh", "单据号"}, {"nr", "内容"}}, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(0, 150);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(grid_);
    resize(900, 480);

    KeyFlow::enterMovesFocus(this, run);
    KeyFlow::escCloses(this, close);
}

LogQuery TFczrz1::query() const
{
    auto chosen = [](const QComboBox *c) { return c->currentIndex() > 0 ? c->currentText() : QString(); };
    return {from_->date(), to_->date(), chosen(operators_), chosen(actions_)};
}

void TFczrz1::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (shown_) return;
    shown_ = true;
    queryClicked();
    from_->setFocus();
}

void TFczrz1::queryClicked()
{
    Database &db = book();
    offer(operators_, OperationLogQuery::operators(db));
    offer(actions_, OperationLogQuery::actions(db));
    QSqlQuery q = OperationLogQuery::rows(db, query());
    model_->load(q);
    if (model_->rowCount() > 0) grid_->selectRow(model_->rowCount() - 1);
    count_->setText(ListWindow::recordCountText(model_->rowCount()));
}

void TFczrz1::exportClicked()
{
    if (!ListWindow::requireOpen(model_)) return;
    ExportGridToExcel(grid_, windowTitle(), BookMaintenance::dataDir(book()));
}
