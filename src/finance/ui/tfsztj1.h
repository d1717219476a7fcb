// The combined statistics 进销存财综合统计表: seventeen figures of purchases, sales, stock and
// money for all time or a period, and their print.
#pragma once

#include "app/widgets/date_range.h"

#include <QHash>
#include <QWidget>

class QLineEdit;

class TFsztj1 : public QWidget {
    Q_OBJECT
public:
    explicit TFsztj1(QWidget *parent = nullptr);

    const DateRange &dates() const { return dates_; }
    QString figure(const QString &field) const;

    void computeClick();
    void printClick();

private:
    DateRange dates_;
    QHash<QString, QLineEdit *> figures_;
};
