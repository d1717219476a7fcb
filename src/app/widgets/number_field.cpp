#include "app/widgets/number_field.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QLineEdit>
#include <QPointer>

namespace {

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

// Texts the keys can produce for the kind. A pasted negative amount is also let into an
// unsigned field: the windows that take one say so ("负" before the capitals).
bool textAcceptable(NumberField::Kind kind, const QString &text)
{
    int points = 0, minus = 0;
    for (QChar c : text) {
        if (isDigit(c)) continue;
        if (kind == NumberField::Digits) return false;
        if (c == u'.') ++points;
        else if (c == u'-') ++minus;
        else return false;
    }
    if (points > 1 || minus > 1) return false;
    if (minus == 1 && kind == NumberField::Unsigned) return Decimal::parse(text).has_value();
    return true;
}

class NumberFilter final : public QObject {
public:
    NumberFilter(QLineEdit *edit, NumberField::Kind kind, NumberField::Empty empty)
        : QObject(edit), edit_(edit), kind_(kind), empty_(empty)
    {
        if (!textAcceptable(kind_, edit->text())) edit->setText(QStringLiteral("0"));
        good_ = edit->text();
        edit->installEventFilter(this);
        // Registered before any handler of the window, so the window sees the "0" already.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &t) { changed(t); });
        connect(edit, &QLineEdit::textEdited, this, [this](const QString &t) { edited(t); });
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
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
    void paste()
    {
        if (edit_->isReadOnly()) return;
        QString piece = QGuiApplication::clipboard()->text().trimmed();
        piece.remove(u' ');
        QString result = edit_->text();
        if (edit_->hasSelectedText()) result.replace(edit_->selectionStart(), edit_->selectedText().size(), piece);
        else result.insert(edit_->cursorPosition(), piece);
        if (piece.isEmpty() || !textAcceptable(kind_, result)) return;
        edit_->insert(piece);
    }

    void changed(const QString &t)
    {
        if (empty_ == NumberField::ZeroWhenEmpty && t.trimmed().isEmpty()) {
            edit_->setText(QStringLiteral("0"));
            if (edit_->hasFocus()) edit_->selectAll();   // the next key replaces the "0"
            return;
        }
        if (textAcceptable(kind_, t)) good_ = t;
    }

    // Text that reached the field by the context menu or a drop, past the key filter.
    void edited(const QString &t)
    {
        if (!textAcceptable(kind_, t)) edit_->setText(good_);
    }

    QLineEdit *edit_;
    NumberField::Kind kind_;
    NumberField::Empty empty_;
    QString good_;
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

std::optional<Decimal> NumberField::value(const QLineEdit *edit) { return Decimal::parse(edit->text()); }
