#include "app/widgets/key_flow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

bool isEnter(const QKeyEvent *ke)
{
    return (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)
        && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier));
}

// The control the operator sees: the line edit inside a combo or spin box stands for its owner.
QWidget *outerField(QWidget *w)
{
    while (w && w->parentWidget()
           && (qobject_cast<QComboBox *>(w->parentWidget())
               || qobject_cast<QAbstractSpinBox *>(w->parentWidget())))
        w = w->parentWidget();
    return w;
}

bool isMultiLine(const QWidget *w)
{
    return qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w);
}

class EnterHook final : public QObject {
public:
    EnterHook(QObject *parent, std::function<bool()> fn) : QObject(parent), handler(std::move(fn)) {}
    std::function<bool()> handler;

    static EnterHook *of(const QWidget *field)
    {
        for (QObject *c : field->children())
            if (auto *h = dynamic_cast<EnterHook *>(c)) return h;
        return nullptr;
    }
};

// Controls Enter walks through. A read-only field is passed over unless it has its own Enter
// handler (a list field that opens its list).
bool isField(const QWidget *w)
{
    if (EnterHook::of(w)) return true;
    if (auto *le = qobject_cast<const QLineEdit *>(w)) return !le->isReadOnly();
    if (auto *sb = qobject_cast<const QAbstractSpinBox *>(w)) return !sb->isReadOnly();
    if (auto *te = qobject_cast<const QTextEdit *>(w)) return !te->isReadOnly();
    if (auto *pe = qobject_cast<const QPlainTextEdit *>(w)) return !pe->isReadOnly();
    return qobject_cast<const QComboBox *>(w) || qobject_cast<const QCheckBox *>(w)
        || qobject_cast<const QRadioButton *>(w);
}

// A field reached by Enter may also be a read-only one the operator can still focus (list
// fields); only fields that start the walk must be plain single-line controls.
bool startsWalk(const QWidget *w)
{
    if (isMultiLine(w)) return false;
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QComboBox *>(w) || qobject_cast<const QCheckBox *>(w)
        || qobject_cast<const QRadioButton *>(w);
}

bool canTakeFocus(const QWidget *w)
{
    return w->isEnabled() && w->isVisibleTo(w->window()) && (w->focusPolicy() & Qt::TabFocus);
}

// Runs the field's own Enter handler, if it has one; true when that handled the key.
bool runHook(QWidget *field)
{
    EnterHook *h = EnterHook::of(field);
    return h && h->handler && h->handler();
}

void installOnTree(QWidget *root, QObject *filter)
{
    root->installEventFilter(filter);
    for (QWidget *w : root->findChildren<QWidget *>()) w->installEventFilter(filter);
}

class EnterFlow final : public QObject {
public:
    EnterFlow(QWidget *form, QAbstractButton *main) : QObject(form), form_(form), main_(main) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress) return false;
        auto *ke = static_cast<QKeyEvent *>(e);
        if (!isEnter(ke)) return false;
        auto *w = qobject_cast<QWidget *>(watched);
        // Reached through propagation from a control added after the attach: judge by focus.
        if (w == form_ || !startsWalk(outerField(w))) w = QApplication::focusWidget();
        QWidget *field = outerField(w);
        if (!field || !form_->isAncestorOf(field) || !startsWalk(field)) return false;
        if (runHook(field)) return true;
        if (QWidget *next = nextField(field)) {
            next->setFocus(Qt::TabFocusReason);   // as Tab would: a line edit selects its text
        } else if (main_ && main_->isEnabled() && main_->isVisibleTo(main_->window())) {
            main_->click();
        }
        return true;   // the key itself never reaches the field
    }

private:
    QWidget *nextField(QWidget *from) const
    {
        // The chain is a ring through the top-level window: reaching it again means `from`
        // was the last field.
        const QWidget *top = from->window();
        for (QWidget *w = from->nextInFocusChain(); w && w != from && w != top; w = w->nextInFocusChain()) {
            if (!form_->isAncestorOf(w)) continue;
            // The inner line edit of a combo or spin box may sit anywhere in the chain (made
            // editable later); its owner stands at the right place.
            if (outerField(w) != w || from->isAncestorOf(w)) continue;
            if (isField(w) && canTakeFocus(w)) return w;
        }
        return nullptr;
    }

    QWidget *form_;
    QPointer<QAbstractButton> main_;
};

class EscClose final : public QObject {
public:
    EscClose(QWidget *window, QAbstractButton *button) : QObject(window), window_(window), button_(button) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress) return false;
        auto *ke = static_cast<QKeyEvent *>(e);
        if (ke->key() != Qt::Key_Escape || ke->modifiers() != Qt::NoModifier) return false;
        if (button_) {
            if (button_->isEnabled()) button_->click();
        } else {
            KeyFlow::closeWindow(window_);
        }
        return true;
    }

private:
    QWidget *window_;
    QPointer<QAbstractButton> button_;
};

class GridTab final : public QObject {
public:
    explicit GridTab(QAbstractItemView *grid) : QObject(grid), grid_(grid) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched != grid_ || e->type() != QEvent::KeyPress) return false;
        auto *ke = static_cast<QKeyEvent *>(e);
        if (!isEnter(ke)) return false;
        if (QApplication::focusWidget() != grid_ || isMultiLine(QApplication::focusWidget())) return false;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QCoreApplication::sendEvent(grid_, &tab);
        return true;
    }

private:
    QAbstractItemView *grid_;
};

class GridEnterClicks final : public QObject {
public:
    GridEnterClicks(QAbstractItemView *grid, QAbstractButton *button) : QObject(grid), grid_(grid), button_(button) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched != grid_ || e->type() != QEvent::KeyPress) return false;
        if (!isEnter(static_cast<QKeyEvent *>(e))) return false;
        if (QApplication::focusWidget() != grid_) return false;   // an open cell editor keeps Enter
        if (button_ && button_->isEnabled()) button_->click();
        return true;
    }

private:
    QAbstractItemView *grid_;
    QPointer<QAbstractButton> button_;
};

class FunctionKeys final : public QObject {
public:
    FunctionKeys(QObject *parent, QList<std::pair<int, std::function<void()>>> keys) : QObject(parent), keys_(std::move(keys)) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride) return false;
        auto *ke = static_cast<QKeyEvent *>(e);
        if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) return false;
        for (const auto &[key, action] : keys_) {
            if (ke->key() != key) continue;
            if (e->type() == QEvent::ShortcutOverride) {
                e->accept();   // the key comes to us as a key press, not to a shortcut
            } else if (!ke->isAutoRepeat()) {
                action();
            }
            return true;
        }
        return false;
    }

private:
    QList<std::pair<int, std::function<void()>>> keys_;
};

} // namespace

namespace KeyFlow {

void functionKeys(QWidget *window, const QList<std::pair<int, std::function<void()>>> &keys)
{
    installOnTree(window, new FunctionKeys(window, keys));
}


void enterMovesFocus(QWidget *form, QAbstractButton *mainButton)
{
    installOnTree(form, new EnterFlow(form, mainButton));
}

void escCloses(QWidget *window, QAbstractButton *closeButton)
{
    installOnTree(window, new EscClose(window, closeButton));
}

void gridEnterAsTab(QAbstractItemView *grid) { grid->installEventFilter(new GridTab(grid)); }

void gridActivates(QAbstractItemView *grid, QAbstractButton *button, bool enter)
{
    if (enter) grid->installEventFilter(new GridEnterClicks(grid, button));
    QPointer<QAbstractButton> b(button);
    QObject::connect(grid, &QAbstractItemView::doubleClicked, button, [b](const QModelIndex &index) {
        if (b && index.isValid() && b->isEnabled()) b->click();
    });
}

void onEnter(QWidget *field, std::function<bool()> handler)
{
    delete EnterHook::of(field);
    new EnterHook(field, std::move(handler));
}

void closeWindow(QWidget *w)
{
    for (QWidget *p = w; p; p = p->parentWidget()) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(p)) {
            sub->close();
            return;
        }
    }
    w->window()->close();
}

QPushButton *button(QWidget *parent, const QString &caption, const QString &objectName)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace KeyFlow
