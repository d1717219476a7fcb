#include "finance/ui/settlement_entry_form.h"

#include "app/widgets/key_flow.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

// Double-click in the field opens its chooser.
class DoubleClickOpens : public QObject {
public:
    DoubleClickOpens(QObject *parent, std::function<void()> open) : QObject(parent), open_(std::move(open)) {}
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::MouseButtonDblClick) return false;
        open_();
        return true;
    }

private:
    std::function<void()> open_;
};

} // namespace

namespace entry_form {

void addRow(QGridLayout *grid, int row, const QString &label, QWidget *w)
{
    grid->addWidget(new QLabel(label, w->parentWidget()), row, 0);
    grid->addWidget(w, row, 1);
}

QDateEdit *addDate(QGridLayout *grid, int row, QWidget *owner)
{
    auto *date = new QDateEdit(owner);
    date->setObjectName(QStringLiteral("DateTimePicker1"));
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    addRow(grid, row, QStringLiteral("　　日期"), date);
    return date;
}

void addPick(QGridLayout *grid, int row, const QString &label, QLineEdit *edit, const QString &hint,
            std::function<void()> open, std::function<bool()> needsChoice)
{
    QWidget *owner = edit->parentWidget();
    addRow(grid, row, label, edit);
    auto *pick = new QToolButton(owner);
    pick->setText(QStringLiteral("…"));
    pick->setToolTip(hint);
    pick->setObjectName(hint);
    pick->setFocusPolicy(Qt::NoFocus);
    QObject::connect(pick, &QToolButton::clicked, owner, open);
    grid->addWidget(pick, row, 2);
    edit->installEventFilter(new DoubleClickOpens(edit, open));
    KeyFlow::onEnter(edit, [open, needsChoice] {
        if (!needsChoice()) return false;
        open();
        return true;
    });
}

} // namespace entry_form
