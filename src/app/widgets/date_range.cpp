#include "app/widgets/date_range.h"

#include "app/text/decimal.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

DateRange DateRange::make(QWidget *parent, const QString &caption, bool keepInOrder)
{
    DateRange r;
    r.box = new QCheckBox(caption, parent);
    r.box->setObjectName(QStringLiteral("CheckBox1"));
    r.from = new QDateEdit(parent);
    r.from->setObjectName(QStringLiteral("DateTimePicker1"));
    r.to = new QDateEdit(parent);
    r.to->setObjectName(QStringLiteral("DateTimePicker2"));
    for (QDateEdit *d : {r.from, r.to}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    r.reset();
    if (keepInOrder) {
        QDateEdit *from = r.from, *to = r.to;
        QObject::connect(from, &QDateEdit::dateChanged, to, [from, to](const QDate &d) {
            if (d > to->date()) to->setDate(d);
        });
        QObject::connect(to, &QDateEdit::dateChanged, from, [from, to](const QDate &d) {
            if (d < from->date()) from->setDate(d);
        });
    }
    return r;
}

QHBoxLayout *DateRange::layout(const QString &toCaption) const
{
    auto *row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(from);
    row->addWidget(new QLabel(toCaption, box->parentWidget()));
    row->addWidget(to);
    row->addStretch();
    return row;
}

void DateRange::reset() const
{
    const QDate today = QDate::currentDate();
    to->setDate(today);
    from->setDate(today.addMonths(-1));
    box->setChecked(false);
}

bool DateRange::checked() const { return box->isChecked(); }
QString DateRange::fromText() const { return dateText(from->date()); }
QString DateRange::toText() const { return dateText(to->date()); }

int DateRange::place(QGridLayout *grid, int row, const QString &toCaption) const
{
    grid->addWidget(box, row, 0);
    grid->addWidget(from, row, 1);
    grid->addWidget(new QLabel(toCaption, to->parentWidget()), row + 1, 0);
    grid->addWidget(to, row + 1, 1);
    return row + 2;
}

std::optional<std::pair<QDate, QDate>> DateRange::range() const
{
    if (!box->isChecked()) return std::nullopt;
    return std::make_pair(from->date(), to->date());
}
