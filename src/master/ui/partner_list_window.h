// The list window of the three address books (suppliers, customers, employees): grid, record
// count, and the commands 导入 新增 修改 删除 查询 打印 导出 关闭. Each book's window is a thin
// subclass that says what differs.
#pragma once

#include "app/widgets/record_table_model.h"
#include "print/report_data.h"

#include <QSqlQuery>
#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTableView;

class PartnerListWindow : public QWidget {
    Q_OBJECT
public:
    struct Setup {
        QString caption;             // "厂商资料"
        QString noun;                // "厂商"
        QList<RecordTableModel::Column> columns;   // the grid, with the hidden id last
        QString printLayout;         // "TFdyghs1"
        QString printName;           // "厂商资料表"
        QStringList printFields;     // the layout's four columns
        bool addNeedsOpenList;
    };

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    // The id of the grid's current row, 0 when there is none.
    qint64 currentId() const;
    // Re-runs the statement the list shows (everything, or the last query) and selects the
    // row `selectId` when it is among the results.
    void reload(qint64 selectId = 0);
    // What "打印" hands the print layout.
    ReportData reportData() const;

public slots:
    void importClicked();
    void addClicked();
    void editClicked();
    void deleteClicked();
    void queryClicked();
    void printClicked();
    void exportClicked();

protected:
    PartnerListWindow(Setup setup, QWidget *parent);

    using Rows = std::function<QSqlQuery()>;
    virtual QSqlQuery allRows() = 0;
    // Opens the add/edit dialog for the row `id` (0: a new one); returns the id to select.
    virtual qint64 openDialog(qint64 id) = 0;
    // Opens the query dialog; the statement to show from now on, or an empty function.
    virtual Rows openQuery() = 0;
    virtual void removeRecord(qint64 id) = 0;
    // Opens the spreadsheet import for this book; true when rows may have been added.
    virtual bool openImport() = 0;

    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void display(const Rows &rows, qint64 selectId);
    void updateCount();

    Setup setup_;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QLabel *hj_ = nullptr;
    Rows rows_;
    bool shown_ = false;
};
