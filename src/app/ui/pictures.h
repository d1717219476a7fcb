// The pictures of the splash, navigation and about windows, drawn rather than shipped.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace pictures {
QPixmap splash(QSize size);
QPixmap banner(QSize size);
QPixmap flow(QSize size);
QPixmap about(QSize size);
// The program's icon on the desktop: the emblem on the splash's blue, on a transparent square.
QPixmap programIcon(int side);
// The same at the sizes window systems ask for (title bars, the task bar, every child window and
// dialog).
QIcon programIcon();
} // namespace pictures
