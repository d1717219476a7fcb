// The frame every money list shares (payments, collections, other income and expense,
// payables and receivables): tool bar, red-square legend, read-only grid, status bar panels,
// context menu, double-click, Esc, and the print and export of what it shows.
#pragma once

#include "app/widgets/record_table_model.h"
#include "print/report_data.h"

#include <QWidget>

#include <functional>


class QLabel;
class QPushButton;
class QTableView;

class MoneyListFrame : public QWidget {
    Q_OBJECT
public:
    struct Command {
        QString name;      // "SB44"
        QString caption;   // "新增"
        std::function<void()> run;
    };

    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    // The text of status panel `i` ("总计", then the figures).
    QString statusText(int i) const;
    // The grid's current row, -1 when there is none.
    int currentRow() const;

protected:
    MoneyListFrame(const QString &caption, QList<RecordTableModel::Column> columns, const QString &legend,
                   QWidget *parent);

    // The tool bar, left to right; "关闭" (SB100) is added after them.
    void addCommands(const QList<Command> &commands);
    void addContextCommand(const QString &caption, const std::function<void()> &run);
    void setDoubleClick(const std::function<void()> &run);
    void setStatus(const QStringList &panels);

    // Shows the first rows at once and puts the current row on the first one, or on the row
    // with id `selectId` when it is among them; the rest follow while the operator looks, and
    // rowsComplete() runs when the list is whole.
    void display(QSqlQuery rows, qint64 selectId = 0);
    virtual void rowsComplete() = 0;
    // Sum of an amount column over every row of the list (reading any rows still to come).
    Decimal sum(const QString &field) const;

    // What "打印" hands a layout: the rows shown, bound to `fields`, with the title.
    ReportData report(const QString &printName, const QStringList &fields) const;
    // "导出"; a list that is not open says `notOpen`.
    void exportGrid(const QString &notOpen = QStringLiteral("数据表未打开，请先查询！"));

    // Runs once, when the window is first shown: the opening query.
    virtual void opened() = 0;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QWidget *toolBar_ = nullptr;
    QList<QLabel *> panels_;
    bool opened_ = false;
};
