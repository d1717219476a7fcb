// The document list every kind shares: held documents on opening, a query, the viewer, un-approve
// and delete with their questions, the list printed and exported, and the five totals. What
// differs between kinds (columns, texts, the query dialog, the viewer) is its configuration.
#pragma once

#include "app/widgets/record_table_model.h"
#include "documents/document_kind.h"
#include "documents/document_list_query.h"
#include "print/report_data.h"

#include <QWidget>

#include <functional>
#include <memory>

class DocumentQueryDialog;
class QLabel;
class QTableView;

struct DocumentListConfig {
    DocType type;
    QString caption;                              // "采购单据"
    QList<RecordTableModel::Column> columns;      // grid columns, in order
    QString partyCaption;                         // the printed list's party column: "厂商"
    QString printName;                            // "采购单据汇总表"
    QString printLayout;                          // "TFdycggl1"
    std::function<std::unique_ptr<DocumentQueryDialog>(QWidget *parent)> queryDialog;
    // Shows the viewer on the listed documents, at `index`.
    std::function<void(const QStringList &numbers, int index)> openViewer;
    // The printed list's columns; empty: date, number, party, quantity, amount and debt.
    QStringList printFields = {};
};

class DocumentListWindow : public QWidget {
    Q_OBJECT
public:
    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    // Status bar panel `i` (0-based after "总计"): empty, hjsl, hjje, empty, payable, paid, qk, empty.
    QString totalText(int i) const;
    const DocumentListSums &sums() const { return sums_; }

    void unapproveClicked();   // SB44, "反审核"
    void viewClicked();        // SB55, double-click
    void deleteClicked();      // SB66, "删除"
    void queryClicked();       // SB77
    void printClicked();       // SB88
    void exportClicked();      // SB99

    void runQuery(const DocumentListFilter &f);
    ReportData reportData() const;

protected:
    DocumentListWindow(DocumentListConfig config, QWidget *parent);
    void closeEvent(QCloseEvent *e) override;

private:
    void display(QSqlQuery rows, const DocumentListSums &sums);
    void showSums();
    int currentRow() const;
    QString currentNumber() const;

    DocumentListConfig config_;
    const DocumentKind &kind_;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QList<QLabel *> totals_;
    DocumentListSums sums_;
};
