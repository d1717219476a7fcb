#include "master/ui/partner_picker.h"

#include "app/data/database.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "master/ui/partner_caller.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

PartnerPicker::PartnerPicker(Setup setup, QWidget *parent) : QDialog(parent), setup_(std::move(setup))
{
    setWindowTitle(setup_.caption);
    model_ = new RecordTableModel(setup_.columns, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    ListWindow::setupGrid(grid_, model_);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("Edit1"));
    auto *choose = new QPushButton(QStringLiteral("选择"), this);
    choose->setObjectName(QStringLiteral("BitBtn1"));
    auto *add = new QPushButton(QStringLiteral("新增"), this);
    add->setObjectName(QStringLiteral("BitBtn2"));
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("BitBtn3"));
    for (QPushButton *b : {choose, add, close}) b->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &PartnerPicker::choose);
    connect(add, &QPushButton::clicked, this, &PartnerPicker::addClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("查找："), this));
    top->addWidget(search_, 1);
    top->addWidget(choose);
    top->addWidget(add);
    top->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    resize(640, 400);

    connect(search_, &QLineEdit::textChanged, this, [this](const QString &t) { display([&] { return rowsFor(t); }); });
    // The search box is the picker's only field: Enter in it chooses.
    KeyFlow::enterMovesFocus(this, choose);
    KeyFlow::gridActivates(grid_, choose);
    KeyFlow::escCloses(this, close);
}

void PartnerPicker::setCaller(PartnerCaller *caller, const QString &mark)
{
    caller_ = caller;
    mark_ = mark;
}

template <class F> void PartnerPicker::display(F rows)
{
    try {
        QSqlQuery q = rows();
        model_->load(q);
    } catch (const DbError &err) {
        prompt().warn(err.text());
        return;
    }
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
}

void PartnerPicker::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    {
        const QSignalBlocker quiet(search_);
        search_->clear();
    }
    display([this] { return rowsOnShow(); });
    search_->setFocus();
}

void PartnerPicker::choose()
{
    if (!ListWindow::requireRows(model_, setup_.noun, ListWindow::Choose)) return;
    const int row = qMax(0, grid_->currentIndex().row());
    const QString name = model_->text(row, setup_.nameField);
    // A mark the picker does not serve fills nothing.
    if (caller_ && setup_.marks.contains(mark_)) caller_->partnerChosen(mark_, name);
    accept();
}

void PartnerPicker::addClicked()
{
    openAddDialog();
    const QString typed = search_->text();
    display([&] { return rowsFor(typed); });
}
