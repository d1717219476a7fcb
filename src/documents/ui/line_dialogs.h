// What the line and discount dialogs share: the rate rules, the mode label and the shape of
// the line dialog.
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

// What the line dialog lets the operator change: trade lines carry a discount rate and a price
// of their own, stock lines move at the price they were entered with.
struct LineDialogShape {
    QString name = QStringLiteral("TFxgmx1");
    bool discount = true;
    bool priceEditable = true;
    bool signedQuantity = true;
    QString legend = QStringLiteral("数量＜0：退货");
};
