// What the line and discount dialogs share: the rate rules and the mode label.
#pragma once

#include <QString>

class QLineEdit;
class QWidget;

namespace LineDialogs {

inline const QString ZeroQuantity = QStringLiteral("数量不可为零！");
inline const QString ZeroRate = QStringLiteral("折扣率不可为零！");
inline const QString RateNotNumber = QStringLiteral("折扣率必须是数字！");
inline const QString NoRate = QStringLiteral("1.00");

// The hidden label ST1 that carries the caller's mode.
QLineEdit *modeLabel(QWidget *dialog);

} // namespace LineDialogs
