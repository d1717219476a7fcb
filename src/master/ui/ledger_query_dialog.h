// The query and statistics dialogs of the ledger reports (stock changes, purchases, sales):
// the party or reason, employee, goods code and name, warehouse, direction, date range and,
// for statistics, the grouping. Each report configures its captions.
#pragma once

#include "app/data/ledger_query.h"
#include "app/widgets/date_range.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QRadioButton;

struct LedgerDialogSetup {
    QString name;             // the dialog's own name: "TFcxrkfx1"
    QString caption;          // "按条件查询" / "按条件统计"
    QString mainCaption;      // "查询" / "统计"
    QString partyLabel;       // "原　因", "厂　商", "客　户"
    QString inText, outText;  // the direction choices after "全部": "异动入库", "异动出库"
    bool withWarehouse = true;
    bool keepDatesInOrder = true;
    QStringList groupings;    // the three radio buttons of a statistics dialog; empty for a query
    // Purchases and sales put the date range and the type above the boxes; stock changes put
    // them below.
    bool datesFirst = true;
};

class LedgerQueryDialog : public QDialog {
    Q_OBJECT
public:
    LedgerQueryDialog(const LedgerDialogSetup &setup, QWidget *parent = nullptr);

    LedgerFilter filter() const;
    LedgerGrouping grouping() const;

signals:
    // A radio button was chosen: the statistics window empties itself for that grouping.
    void groupingChosen(LedgerGrouping grouping);

private:
    QLineEdit *edits_[5] = {};
    QComboBox *direction_ = nullptr;
    DateRange dates_;
    QRadioButton *groups_[3] = {};
};
