// The rows a list window shows: fixed columns, compact storage for lists of 100,000 rows,
// amounts shown with two decimals and in red below zero, sorting on what is loaded.
#pragma once

#include "app/data/row_source.h"
#include "app/text/decimal.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <variant>
#include <vector>



class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Kind {
        Text,       // shown as stored
        Amount,     // stored as the Decimal raw count; shown "0.00", red below zero
        Quantity,   // likewise
        Integer,    // whole numbers (ids, counts)
    };
    struct Column {
        QString field;   // the column's name in the table or query
        QString title;   // grid title
        Kind kind = Text;
        bool visible = true;
    };
    using Cell = std::variant<QString, Decimal, qint64>;
    using RowColour = std::function<std::optional<QColor>(int row)>;

    explicit RecordTableModel(QList<Column> columns, QObject *parent = nullptr);

    const QList<Column> &columns() const { return columns_; }
    int columnOf(const QString &field) const;   // -1 when there is no such column
    // A title that changes with what the list shows (a group column's meaning).
    void setTitle(int column, const QString &title);

    // Replaces the rows with those of an executed query; columns are matched by field name
    // (a column the query lacks stays empty). The list is open afterwards.
    void load(QSqlQuery &query);
    // The same for long lists: the first `firstRows` rows now, the rest kept in the source and
    // read by fetchMore as the grid scrolls (or all at once by fetchAll, or by a sort).
    void loadLazily(QSqlQuery query, int firstRows);
    void loadLazily(std::unique_ptr<RowSource> rows, int firstRows);
    // Reads the rest of a lazily loaded list a batch per turn of the event loop, so the window
    // answers while the operator reads the first screen; `done` runs once every row is in.
    // Loading or closing the list stops it.
    void fetchRestInBackground(std::function<void()> done = {});
    void fetchAll();
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;
    static constexpr int FetchBatch = 5000;
    static constexpr int FirstScreen = 500;   // rows a long report reads before it answers
    // Rows computed in code: one cell per column, Decimal for amounts and quantities.
    void appendRow(const std::vector<Cell> &cells);
    // No rows, and the list counts as not opened ("数据表未打开，请先查询！").
    void close();
    // No rows, and the list open: rows computed in code follow with appendRow.
    void clearOpen();
    bool isOpen() const { return open_; }

    // Values of a shown row (after sorting and deletions).
    QString text(int row, int column) const;
    QString text(int row, const QString &field) const { return text(row, columnOf(field)); }
    Decimal decimal(int row, int column) const;
    Decimal decimal(int row, const QString &field) const { return decimal(row, columnOf(field)); }
    qint64 integer(int row, int column) const;
    qint64 integer(int row, const QString &field) const { return integer(row, columnOf(field)); }

    // Row colouring: `rule` gets a shown row and returns its background, or nothing.
    void setRowBackground(RowColour rule);
    // Whole-row text colour (a refund or an expense in red), before the amounts' own red.
    void setRowForeground(RowColour rule);
    // Documents not yet approved (`field` reads "未审核") on light green.
    void highlightNotApproved(const QString &field = QStringLiteral("shbj"));
    static QColor notApprovedColour() { return QColor(225, 255, 225); }
    // Whole rows in red text when the amount or quantity in `field` is below zero, or with
    // `orZero` not above it: returns, stock going out, abnormal stock.
    void redRowsWhenNegative(const QString &field, bool orZero = false);

    // Sorting of the loaded rows; -1 while they stand in their loaded order.
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // A text cell changed by a command on the shown row (a document un-approved in the list):
    // the row shows the new value at once, without reading the list again.
    void setText(int row, int column, const QString &text);
    // Takes rows out of the list (after their records were deleted); storage is not rewritten.
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

private:
    struct Store {
        std::vector<qint64> numbers;     // amounts, quantities, integers
        QString chars;                   // all texts of the column, one after another
        std::vector<quint32> offsets;    // text of stored row r: chars[offsets[r], offsets[r+1])
        std::unordered_map<int, QString> changed;   // stored row -> text replacing its loaded one
    };
    bool isNumeric(int column) const { return columns_[column].kind != Text; }
    QStringView storedText(int column, int storedRow) const;
    QString display(int column, int storedRow) const;
    void clearStorage();
    int readRows(RowSource &rows, int maxRows);   // -1: to the end; returns the rows read
    void showStoredRows();                         // stored rows not yet shown join the end
    void putText(int column, QStringView s);
    const std::vector<int> &textRanks(int column) const;

    QList<Column> columns_;
    std::vector<Store> stores_;
    std::vector<int> order_;   // shown row -> stored row
    int stored_ = 0;
    int revealed_ = 0;   // stored rows [0, revealed_) have been put into order_
    bool open_ = false;
    RowColour background_;
    RowColour foreground_;
    std::unique_ptr<RowSource> pending_;   // the rest of a lazily loaded list
    int loads_ = 0;                        // counts loads, so a background read knows it is stale
    // Per text column, the collation rank of each stored row's text; built on the first sort
    // of the column and kept until the rows change.
    mutable std::vector<std::vector<int>> ranks_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
