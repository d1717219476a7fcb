#include "finance/ui/settlement_pick_field.h"

#include "app/widgets/key_flow.h"

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

namespace settlement_pick {

void attach(QGridLayout *grid, int row, const QString &label, QLineEdit *edit, const QString &hint,
            std::function<void()> open, std::function<bool()> needsChoice)
{
    QWidget *owner = edit->parentWidget();
    grid->addWidget(new QLabel(label, owner), row, 0);
    grid->addWidget(edit, row, 1);
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

} // namespace settlement_pick
