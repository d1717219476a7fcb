// The detail lists and statistics windows over a ledger (stock changes, purchases, sales):
// grid with red rows below zero, the totals, query or statistics dialog, drill-down from a
// statistics row to the detail list, print and export. Each report is a thin subclass.
#pragma once

#include "app/data/ledger_query.h"
#include "app/widgets/record_table_model.h"
#include "master/ui/ledger_query_dialog.h"
#include "print/report_data.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTableView;

class LedgerReportWindow : public QWidget {
    Q_OBJECT
public:
    enum Mode { Detail, Statistics };
    struct Setup {
        Mode mode = Detail;
        QString caption;               // "库存变动明细表"
        const LedgerKind *ledger = nullptr;
        QString legend;                // "数量＜0：变动出库"
        QString partyTitle;            // the group column's title when grouped by party: "异动原因"
        LedgerDialogSetup dialog;
        QString printLayout;           // "TFdycgfx1" / "TFdycghz1"
        bool withCost = false;         // sales: cost and profit, for the administrator only
        // Statistics: the detail list a row drills down into (opened or brought forward).
        std::function<LedgerReportWindow *()> openDetail;
    };

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    // The status bar's totals: quantity, amount, and for sales cost and profit.
    QString totalText(int i) const;
    LedgerGrouping grouping() const { return grouping_; }
    bool costShown() const { return costShown_; }

    // Detail lists: the lines of one query, or of a statistics row's goods item and group.
    void showFilter(const LedgerFilter &f);
    void showGoodsItem(const QString &txm, const QString &ppgg, const QString &dw, LedgerGrouping grouping,
                       const QString &group);
    // Statistics: empties the window for a grouping (as the dialog opens or a grouping is
    // chosen), and computes.
    void clearStatistics(LedgerGrouping grouping);
    void computeStatistics(const LedgerFilter &f, LedgerGrouping grouping);

    void queryClick();    // SB77: the query or statistics dialog
    void detailClick();   // SB66
    void printClick();
    void exportClick();
    ReportData reportData() const;

protected:
    LedgerReportWindow(Setup setup, QWidget *parent);
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void showLines(const SqlFilter &f);
    void display(QSqlQuery rows);
    void setTotals(const QList<Decimal> &values);
    QString notOpenMessage() const;

    Setup setup_;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QList<QLabel *> totals_;
    LedgerGrouping grouping_ = LedgerGrouping::None;
    bool costShown_ = false;
    bool opened_ = false;
};
