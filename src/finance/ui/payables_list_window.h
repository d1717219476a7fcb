// The payables or receivables list (TFyffx1 / TFysfx1): every approved document still open,
// the total of the debts, debts owed back in red, "查单", query, print and export.
#pragma once

#include "finance/payables.h"
#include "finance/ui/settlement_list_frame.h"

class PayablesListWindow : public MoneyListFrame {
    Q_OBJECT
public:
    const SettlementConfig &config() const { return book_.config(); }

    void viewClicked();
    void queryClicked();
    void printClicked();
    void runQuery(const PayablesFilter &f);
    ReportData reportData() const;

protected:
    PayablesListWindow(SettlementKind side, QWidget *parent);
    void opened() override;
    void rowsComplete() override;

private:
    PayablesBook book_;
    const PayablesTexts &texts_;
};

