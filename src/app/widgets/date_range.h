// The "日期从 … 至" pair of the query and statistics dialogs: a check box that makes the range
// count, the from-date (a month back) and the to-date (today).
#pragma once

#include <QString>

class QCheckBox;
class QDateEdit;
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
    void reset() const;

    bool checked() const;
    QString fromText() const;   // "yyyy-mm-dd"
    QString toText() const;
};
