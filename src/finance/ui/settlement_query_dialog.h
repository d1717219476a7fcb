// The query dialogs "按条件查询" of the money lists: a period, drop-down conditions and the
// typed texts, in the order the Enter walk takes them; "查询" in the last text runs it.
#pragma once

#include "app/widgets/date_range.h"
#include "finance/settlement.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QGridLayout;
class QLineEdit;

class MoneyQueryDialog : public QDialog {
    Q_OBJECT
public:
    // Box off, drop-downs on their first item ("全部"), texts empty, focus on the first text.
    void reset();
    QComboBox *combo(int i) const { return combos_[i]; }
    QLineEdit *text(int i) const { return edits_[i]; }
    const DateRange &dates() const { return dates_; }

protected:
    // Drop-downs (ComboBox1…) with their captions and items, then the texts (Edit1…).
    MoneyQueryDialog(const QList<std::pair<QString, QStringList>> &combos, const QStringList &texts,
                     QWidget *parent);
    void showEvent(QShowEvent *e) override;

private:
    DateRange dates_;
    QList<QComboBox *> combos_;
    QList<QLineEdit *> edits_;
};

// The query dialog of payments or collections (TFcxfkfx1 / TFcxskfx1).
class SettlementQueryDialog : public MoneyQueryDialog {
    Q_OBJECT
public:
    SettlementFilter filter() const;

protected:
    SettlementQueryDialog(SettlementKind kind, QWidget *parent);
};
