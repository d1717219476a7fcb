#include "app/widgets/number_field.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QLineEdit>
#include <QValidator>
#include <QVariant>

namespace {

// Set on every field that carries a filter, so a command can tell a number field from text.
constexpr char FilteredMark[] = "marvodaNumberField";

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// What a key may add to the text, judged on the whole text as it stands.
bool keyAccepted(NumberField::Kind kind, QChar c, const QString &text)
{
    if (isDigit(c)) return true;
    if (kind == NumberField::Digits) return false;
    if (c == u'.') return !text.contains(u'.');
    if (c == u'-') return kind == NumberField::Signed && !text.contains(u'-');
    return false;
}

// Whether typing `piece` key by key, the first key replacing `length` characters at `from`,
// would keep every key: text that arrives by pasting or dropping passes the same test as
// typed text, as a whole or not at all.
bool typedAccepted(NumberField::Kind kind, const QString &piece, QString text, qsizetype from, qsizetype length)
{
    for (QChar c : piece) {
        if (!keyAccepted(kind, c, text)) return false;
        text.replace(from++, length, c);
        length = 0;
    }
    return true;
}

// Every edit by the operator, whatever brought it (a key, the context menu's paste, a drop, an
// input method, the selection pasted by the middle button), is checked here before the field
// shows it; a refused one leaves the text as it was. The text a window sets is its own and
// stands: a stored negative stock shown in an unsigned field still takes typed digits.
class TypedTextValidator final : public QValidator {
public:
    TypedTextValidator(QLineEdit *edit, NumberField::Kind kind) : QValidator(edit), edit_(edit), kind_(kind)
    {
        shown_ = edit->text();
        connect(edit, &QLineEdit::textChanged, this, [this] { shown_ = edit_->text(); });
    }

    State validate(QString &input, int &) const override
    {
        if (!edit_->isModified()) return Acceptable;   // set by the window, or undone back to that
        // The edit is the part between what both texts share at their start and at their end.
        qsizetype head = 0;
        while (head < input.size() && head < shown_.size() && input[head] == shown_[head]) ++head;
        qsizetype tail = 0;
        while (tail < input.size() - head && tail < shown_.size() - head
               && input[input.size() - 1 - tail] == shown_[shown_.size() - 1 - tail])
            ++tail;
        const QString piece = input.mid(head, input.size() - head - tail);
        return typedAccepted(kind_, piece, shown_, head, shown_.size() - head - tail) ? Acceptable : Invalid;
    }

private:
    QLineEdit *edit_;
    NumberField::Kind kind_;
    QString shown_;   // the text before the edit being checked
};

class NumberFilter final : public QObject {
public:
    NumberFilter(QLineEdit *edit, NumberField::Kind kind, NumberField::Empty empty)
        : QObject(edit), edit_(edit), kind_(kind), empty_(empty)
    {
        if (!typedAccepted(kind_, edit->text(), QString(), 0, 0)) edit->setText(QStringLiteral("0"));
        edit->installEventFilter(this);
        edit->setProperty(FilteredMark, true);
        // Registered before any handler of the window, so the window sees the "0" already.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &t) { changed(t); });
        edit->setValidator(new TypedTextValidator(edit, kind));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::FocusOut) {
            // Another window or a menu taking the keyboard is not leaving the field; a field
            // being destroyed is no longer a line edit and is left alone.
            const Qt::FocusReason why = static_cast<QFocusEvent *>(e)->reason();
            if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason && qobject_cast<QLineEdit *>(watched)
                && !edit_->isReadOnly())
                NumberField::finish(edit_);
            return false;
        }
        if (e->type() == QEvent::FocusIn && static_cast<QFocusEvent *>(e)->reason() != Qt::MouseFocusReason) {
            // Entering the field from the keyboard or on opening selects its number, so typing
            // replaces the "0" instead of giving "035.5".
            QTimer::singleShot(0, edit_, [e = edit_] {
                if (e->hasFocus()) e->selectAll();
            });
            return false;
        }
        if (e->type() != QEvent::KeyPress) return false;
        auto *ke = static_cast<QKeyEvent *>(e);
        if (ke->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;   // copy, cut, select all, undo
        const QString t = ke->text();
        if (t.isEmpty() || !t.at(0).isPrint()) return false;   // backspace, Enter, arrows, Tab, Esc
        if (t.size() == 1 && keyAccepted(kind_, t.at(0), edit_->text())) return false;
        return true;
    }

private:
    // A number copied from elsewhere often carries spaces around or inside it.
    void paste()
    {
        if (edit_->isReadOnly()) return;
        QString piece = QGuiApplication::clipboard()->text().trimmed();
        piece.remove(u' ');
        const qsizetype from = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
        if (piece.isEmpty() || !typedAccepted(kind_, piece, edit_->text(), from, edit_->selectedText().size())) return;
        edit_->insert(piece);
    }

    void changed(const QString &t)
    {
        if (empty_ == NumberField::ZeroWhenEmpty && t.trimmed().isEmpty()) {
            edit_->setText(QStringLiteral("0"));
            if (edit_->hasFocus()) edit_->selectAll();   // the next key replaces the "0"
        }
    }

    QLineEdit *edit_;
    NumberField::Kind kind_;
    NumberField::Empty empty_;
};

} // namespace

void NumberField::attach(QLineEdit *edit, Kind kind, Empty empty) { new NumberFilter(edit, kind, empty); }

QString NumberField::normalizedText(const QString &text)
{
    const qsizetype point = text.indexOf(u'.');
    if (point < 0 || text.size() - point - 1 <= 2) return text;
    const auto v = Decimal::parse(text);
    return v ? v->round2().toFixed2() : text;
}

void NumberField::normalize(QLineEdit *edit)
{
    const QString t = normalizedText(edit->text());
    if (t != edit->text()) edit->setText(t);
}

void NumberField::finish(QLineEdit *edit)
{
    if (edit->text().trimmed() == u"-") edit->setText(QStringLiteral("0"));
    normalize(edit);
}

void NumberField::finishFocused(const QWidget *window)
{
    auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!edit || edit->isReadOnly() || !window->isAncestorOf(edit) || !edit->property(FilteredMark).toBool()) return;
    finish(edit);
}

std::optional<Decimal> NumberField::value(const QLineEdit *edit) { return Decimal::parse(edit->text()); }
