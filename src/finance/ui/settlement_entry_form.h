// The pieces of the money entry dialogs: labelled rows, the date field, and fields filled by a
// chooser (the "…" button with its hint beside it, double-click, and Enter that opens the
// chooser while the field has nothing in it).
#pragma once

#include <QString>

#include <functional>

class QDateEdit;
class QGridLayout;
class QLineEdit;
class QWidget;

namespace entry_form {

// `label` and `w` in `row` of `grid`.
void addRow(QGridLayout *grid, int row, const QString &label, QWidget *w);
// The date field DateTimePicker1 under "　　日期" in `row`.
QDateEdit *addDate(QGridLayout *grid, int row, QWidget *owner);


// Adds the padded `label` and `edit` in `row` of `grid` with the chooser button; `open` runs
// the chooser, `needsChoice` says whether Enter should open it rather than move on.
void addPick(QGridLayout *grid, int row, const QString &label, QLineEdit *edit, const QString &hint,
            std::function<void()> open, std::function<bool()> needsChoice);

} // namespace entry_form
