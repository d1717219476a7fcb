// The list of payments or collections (TFfkfx1 / TFskfx1): today's rows and their total on
// opening, refunds in red, rows not approved on light green; un-approve, new, modify, delete,
// query, print and export.
#pragma once

#include "finance/settlement.h"
#include "finance/ui/settlement_entry_dialog.h"
#include "finance/ui/settlement_list_frame.h"

class SettlementListWindow : public MoneyListFrame {
    Q_OBJECT
public:
    const SettlementConfig &config() const { return service_.config(); }
    const SettlementFilter &filter() const { return filter_; }

    void unapproveClicked();
    void addClicked();
    void editClicked();
    void deleteClicked();
    void queryClicked();
    void printClicked();

    // Shows the rows of `f` (a query) and their total.
    void runQuery(const SettlementFilter &f);
    ReportData reportData() const;

protected:
    SettlementListWindow(SettlementKind kind, QWidget *parent);
    void opened() override;
    void rowsComplete() override { updateTotal(); }

private:
    // Re-reads the rows shown (the query's and those saved since), keeping the row `selectId`.
    void refresh(qint64 selectId);
    void updateTotal();
    qint64 currentId() const;
    void openEntry(const SettlementRow *row);

    SettlementService service_;
    SettlementFilter filter_;
};
