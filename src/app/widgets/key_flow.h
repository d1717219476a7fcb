// Keyboard conventions every window shares: Enter walks the form, Esc closes the window.
// Each is one call in the window's constructor, after its controls exist.
#pragma once

#include <QList>

#include <functional>
#include <utility>

class QAbstractButton;
class QAbstractItemView;
class QPushButton;
class QString;
class QWidget;

namespace KeyFlow {

// Enter in a field of `form` (line edit, combo box, spin or date box) moves the focus to the
// next field in tab order; in the last field it clicks `mainButton` ("保存", "查询", "确定"),
// or does nothing when there is none. Multi-line text boxes keep Enter for new lines.
// Read-only fields and buttons are passed over.
void enterMovesFocus(QWidget *form, QAbstractButton *mainButton);

// Esc anywhere in `window` clicks `closeButton` ("关闭", "取消"); without one it closes the
// window (its MDI subwindow when it lives in the main window).
void escCloses(QWidget *window, QAbstractButton *closeButton = nullptr);

// Master-list grids: Enter is swallowed and a Tab keystroke sent instead.
void gridEnterAsTab(QAbstractItemView *grid);

// Lookup lists and pickers: Enter and double-click in the grid click `button` ("选择");
// master lists pass their "修改" with enter = false (double-click only).
void gridActivates(QAbstractItemView *grid, QAbstractButton *button, bool enter = true);

// A field with its own meaning for Enter (a list field that opens its list when empty):
// `handler` runs first and returns true when it dealt with the key, false to let Enter
// move on as usual. Such a field is a stop of the Enter walk even when it is read only. The
// handler is part of that walk: it runs only in a form given enterMovesFocus.
void onEnter(QWidget *field, std::function<bool()> handler);

// Entry windows: each key of `keys` (F5–F12) runs its action wherever the focus is in `window`,
// before the focused control and before the main window's own shortcuts see it.
void functionKeys(QWidget *window, const QList<std::pair<int, std::function<void()>>> &keys);

// A dialog's button named `objectName` that Enter never presses: Enter belongs to the fields,
// and reaches the button only through enterMovesFocus.
QPushButton *button(QWidget *parent, const QString &caption, const QString &objectName);

// Closes the window holding `w`: its MDI subwindow when there is one, else its top level.
void closeWindow(QWidget *w);

} // namespace KeyFlow
