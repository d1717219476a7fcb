// The "日期从 … 至" pair of the query and statistics dialogs: a check box that makes the range
// count, the from-date (a month back) and the to-date (today).
#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <utility>

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QHBoxLayout;
class QWidget;

struct DateRange {
    QCheckBox *box = nullptr;     // CheckBox1
    QDateEdit *from = nullptr;    // DateTimePicker1
    QDateEdit *to = nullptr;      // DateTimePicker2

    // Makes the three fields on `parent`, unchecked, from = today one month back, to = today.
    // With `keepInOrder`, a from-date set after the to-date moves the to-date along, and a
    // to-date set before the from-date moves the from-date.
    static DateRange make(QWidget *parent, const QString &caption, bool keepInOrder = true);
    QHBoxLayout *layout(const QString &toCaption = QStringLiteral("　　至")) const;
    // The same in two rows of a form grid from `row`: the box with the from-date, then the
    // to-caption with the to-date. Returns the next free row.
    int place(QGridLayout *grid, int row, const QString &toCaption) const;
    void reset() const;

    bool checked() const;
    QString fromText() const;   // "yyyy-mm-dd"
    QString toText() const;
    // Both dates (included) when the box is ticked.
    std::optional<std::pair<QDate, QDate>> range() const;
};
