#include "app/widgets/date_range_fields.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

DateRangeFields::DateRangeFields(QWidget *owner, const QString &checkCaption)
{
    check = new QCheckBox(checkCaption, owner);
    check->setObjectName(QStringLiteral("CheckBox1"));
    from = new QDateEdit(owner);
    from->setObjectName(QStringLiteral("DateTimePicker1"));
    to = new QDateEdit(owner);
    to->setObjectName(QStringLiteral("DateTimePicker2"));
    for (QDateEdit *d : {from, to}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    QDateEdit *f = from, *t = to;
    QObject::connect(from, &QDateEdit::dateChanged, to, [f, t](const QDate &d) {
        if (d > t->date()) t->setDate(f->date());
    });
    QObject::connect(to, &QDateEdit::dateChanged, from, [f, t](const QDate &d) {
        if (d < f->date()) f->setDate(t->date());
    });
}

void DateRangeFields::reset(const QDate &today)
{
    check->setChecked(false);
    const QSignalBlocker a(from), b(to);
    to->setDate(today);
    from->setDate(today.addMonths(-1));
}

std::optional<std::pair<QDate, QDate>> DateRangeFields::range() const
{
    if (!check->isChecked()) return std::nullopt;
    return std::make_pair(from->date(), to->date());
}

int DateRangeFields::place(QGridLayout *grid, int row, const QString &toLabel) const
{
    grid->addWidget(check, row, 0);
    grid->addWidget(from, row, 1);
    grid->addWidget(new QLabel(toLabel, to->parentWidget()), row + 1, 0);
    grid->addWidget(to, row + 1, 1);
    return row + 2;
}
