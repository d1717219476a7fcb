// A field of an entry dialog filled by a chooser: the "…" button with its hint beside it,
// double-click, and Enter that opens the chooser while the field has nothing in it.
#pragma once

#include <QString>

#include <functional>

class QGridLayout;
class QLineEdit;
class QWidget;

namespace settlement_pick {

// Adds the padded `label` and `edit` in `row` of `grid` with the chooser button; `open` runs
// the chooser, `needsChoice` says whether Enter should open it rather than move on.
void attach(QGridLayout *grid, int row, const QString &label, QLineEdit *edit, const QString &hint,
            std::function<void()> open, std::function<bool()> needsChoice);

} // namespace settlement_pick
