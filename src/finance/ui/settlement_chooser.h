// The chooser of approved documents on which money is still owed (TFxzyf1 / TFxzys1): opened
// from the entry dialog with its partner preset, queried at once, and the chosen document
// handed back to the dialog.
#pragma once

#include "app/widgets/date_range.h"
#include "finance/settlement.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QTableView;
class RecordTableModel;

class OwedDocumentChooser : public QDialog {
    Q_OBJECT
public:
    using Chosen = std::function<void(const OwedDocument &)>;
    // The partner text the query starts from, and who receives the choice.
    void setPreset(const QString &partner, Chosen chosen);

    RecordTableModel *model() const { return model_; }
    void query();
    void choose();

protected:
    OwedDocumentChooser(SettlementKind kind, QWidget *parent);
    void showEvent(QShowEvent *e) override;

private:
    SettlementService service_;
    DateRange dates_;
    QLineEdit *partner_ = nullptr;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    Chosen chosen_;
};
