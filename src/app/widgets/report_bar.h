// The parts every report window has around its grid: the row of command buttons, the red
// square with its legend, and the status line "总计" with the total panels.
#pragma once

#include <QHash>
#include <QList>
#include <QPushButton>
#include <QString>

#include <utility>

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QWidget;

namespace ReportBar {

// Buttons with these object names and captions, added to `row` in order; Enter never presses
// them (it walks the fields). Returned by object name.
QHash<QString, QPushButton *> addButtons(QWidget *owner, QBoxLayout *row,
                                         const QList<std::pair<QString, QString>> &namesAndCaptions);

// The command buttons of a list window: "BitBtn<n>" from `firstNumber` on, one per caption, in
// order, each performing its member slot.
template <class W>
QList<QPushButton *> addCommandButtons(W *owner, QBoxLayout *row,
                                       const QList<std::pair<QString, void (W::*)()>> &commands, int firstNumber = 1)
{
    QList<QPushButton *> out;
    for (const auto &[caption, slot] : commands) {
        const QString name = QStringLiteral("BitBtn%1").arg(firstNumber++);
        QPushButton *b = addButtons(owner, row, {{name, caption}}).value(name);
        QObject::connect(b, &QPushButton::clicked, owner, slot);
        out << b;
    }
    return out;
}

// A stretch, then the red square and its legend ("数量＜0：采购退货").
void addRedLegend(QWidget *owner, QBoxLayout *row, const QString &legend);

// "总计", an optional text, then `count` framed panels named Total1… reading `initial`.
QHBoxLayout *totalsRow(QWidget *owner, int count, const QString &initial, QList<QLabel *> *panels,
                       const QString &note = QString());

} // namespace ReportBar
