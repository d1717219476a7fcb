// The period of a query dialog or chooser: a check box that makes the dates count, and a
// from-date and a to-date that never cross: picking a from-date after the to-date moves the
// to-date to it, picking a to-date before the from-date moves the from-date.
#pragma once

#include <QDate>

#include <optional>
#include <utility>

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QWidget;

class DateRangeFields {
public:
    // Creates CheckBox1 (captioned `checkCaption`), DateTimePicker1 and DateTimePicker2 on
    // `owner`; the caller places them.
    DateRangeFields(QWidget *owner, const QString &checkCaption);

    // Box off, to-date today, from-date one calendar month earlier.
    void reset(const QDate &today);
    // Both dates (included) when the box is ticked.
    std::optional<std::pair<QDate, QDate>> range() const;

    // Lays the three out in two rows of `grid` from `row`: the box with the from-date, then
    // the label "至" (padded) with the to-date. Returns the next free row.
    int place(QGridLayout *grid, int row, const QString &toLabel) const;

    QCheckBox *check;
    QDateEdit *from;
    QDateEdit *to;
};
