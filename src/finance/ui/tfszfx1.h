// The list of other income and expense "其他收支明细表".
#pragma once

#include "finance/income_expense.h"
#include "finance/ui/settlement_list_frame.h"

class TFszfx1 : public MoneyListFrame {
    Q_OBJECT
public:
    explicit TFszfx1(QWidget *parent = nullptr);

    void addClicked();
    void editClicked();
    void deleteClicked();
    void queryClicked();
    void printClicked();

    void runQuery(const IncomeExpenseFilter &f);
    ReportData reportData() const;

protected:
    void opened() override;
    void rowsComplete() override { updateTotals(); }

private:
    void refresh(qint64 selectId);
    void updateTotals();
    bool requireRows(const QString &action);
    void openEntry(int row);

    IncomeExpenseFilter filter_;
};
