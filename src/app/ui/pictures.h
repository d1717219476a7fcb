// The pictures of the splash, navigation and about windows, drawn rather than shipped.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace pictures {
QPixmap splash(QSize size);
QPixmap banner(QSize size);
QPixmap flow(QSize size);
QPixmap about(QSize size);
// The program's own icon (title bars, the task bar, every child window and dialog), at the
// sizes window systems ask for.
QIcon programIcon();
} // namespace pictures
