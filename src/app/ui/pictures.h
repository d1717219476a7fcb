// The pictures of the splash, navigation and about windows, drawn rather than shipped.
#pragma once

#include <QPixmap>

namespace pictures {
QPixmap splash(QSize size);
QPixmap banner(QSize size);
QPixmap flow(QSize size);
QPixmap about(QSize size);
} // namespace pictures
