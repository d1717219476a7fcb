#include "app/widgets/text_field.h"

#include "app/prompter.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QValidator>

namespace {

// The field holds one character more than allowed, so a paste that is too long arrives here
// as such (not silently cut to fit) and is undone whole.
class LengthValidator final : public QValidator {
public:
    explicit LengthValidator(QLineEdit *edit) : QValidator(edit), edit_(edit) {}

    State validate(QString &input, int &) const override
    {
        if (input.size() <= TextField::MaxLength) return Acceptable;
        // Text the window sets is its own; only the operator's edit is refused and told.
        if (edit_->isModified() && !told_) {
            told_ = true;
            QPointer<QLineEdit> edit(edit_);
            QTimer::singleShot(0, edit_, [this, edit] {
                if (!edit) return;
                prompt().warn(TextField::TooLongMessage);
                told_ = false;
            });
        }
        return Invalid;
    }

private:
    QLineEdit *edit_;
    mutable bool told_ = false;   // one message for one refused edit
};

} // namespace

namespace TextField {

void guard(QLineEdit *edit)
{
    edit->setMaxLength(MaxLength + 1);
    edit->setValidator(new LengthValidator(edit));
}

void guardAll(QWidget *form)
{
    for (QLineEdit *e : form->findChildren<QLineEdit *>()) {
        QWidget *owner = e->parentWidget();
        if (e->validator() || qobject_cast<QAbstractSpinBox *>(owner) || qobject_cast<QComboBox *>(owner)) continue;
        guard(e);
    }
}

} // namespace TextField
