// The goods catalogue `sp`: one row per article per warehouse, with its prices, commissions and
// its stock quantity, unit cost and value in that warehouse.
#pragma once

#include "app/data/database.h"
#include "app/text/decimal.h"
#include "app/refusal.h"

#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>

// One stored goods row.
struct GoodsRecord {
    qint64 id = 0;
    QString ck, lb, ppgg, txm, dw;
    Decimal jj, xjpf, xjls, slt, jet, kcsl, kcjg, kcje;
    QString ms, bz;

    // The row of a query over sp's columns (any order, matched by name).
    static GoodsRecord fromQuery(const QSqlQuery &q);
    // The value of a column as the goods dialog shows it ("12.50" for numbers).
    QString text(const QString &column) const;
};

// The goods dialog's fields as typed; numbers as their texts.
struct GoodsEntry {
    QString ck, lb, ppgg, txm, dw;
    QString jj = "0", xjpf = "0", xjls = "0", slt = "0", jet = "0", kcsl = "0", kcjg = "0";
    QString ms, bz;

    static GoodsEntry of(const GoodsRecord &r);
    QString value(const QString &column) const;
    void setValue(const QString &column, const QString &v);
    // The seven number fields in the dialog's order.
    static const QStringList &numberColumns();
};

// The goods query dialog's boxes and its stock drop-down.
struct GoodsFilter {
    enum Stock { All, Positive, Zero, Negative };   // "全部", "库存＞0", "库存＝0", "库存＜0"
    QString lb, txm, ppgg, ck;
    Stock stock = All;
};

// Sums of a filtered stock list: quantity and value, shown as plain decimals.
struct StockTotals {
    Decimal kcsl;
    Decimal kcje;
};

class GoodsCatalogue {
public:
    explicit GoodsCatalogue(Database &db) : db_(db) {}

    // The columns a goods query returns, id first.
    static const QStringList &columns();

    // Every row in the order of entry (the goods list when it opens).
    QSqlQuery all();
    // The goods list's category tree: the rows of one category; an empty text gives every row.
    QSqlQuery inCategory(const QString &lb);
    // The pickers: the rows of one warehouse, of one category when lb is not empty.
    QSqlQuery inWarehouse(const QString &ck, const QString &lb = QString());
    // The pickers' search box: rows of the warehouse whose name, code or category contains the
    // typed text, letters in either case. The statement is kept for the next keystroke.
    QSqlQuery &search(const QString &ck, const QString &typed);
    // The query dialog. Each box is a containment test on its column, so a row with an empty
    // category, code, name or warehouse is not found, even with every box empty.
    QSqlQuery query(const GoodsFilter &f);
    StockTotals totals(const GoodsFilter &f);

    std::optional<GoodsRecord> find(qint64 id);

    // Saves a new row: required fields trimmed and checked in the dialog's order, then the same
    // warehouse, name, code and unit must not exist yet. *saved receives the stored row.
    std::optional<Refusal> add(const GoodsEntry &e, GoodsRecord *saved = nullptr);
    // Rewrites row `id`; no uniqueness test.
    std::optional<Refusal> update(qint64 id, const GoodsEntry &e, GoodsRecord *saved = nullptr);
    void remove(qint64 id);

    // "批量生成拼音码": every given row's code becomes the simple code of its name, in one
    // transaction. Returns the new codes by id.
    QHash<qint64, QString> regenerateCodes(const QList<qint64> &ids);

    // A typed number as stored: more than two decimals are rounded half to even; text that is
    // not a number counts as 0 (the field shows "0" when emptied). Nullopt when out of range.
    static std::optional<Decimal> storedNumber(const QString &text);
    // The simple code the dialog puts into the code field for a name.
    static QString codeForName(const QString &ppgg);

    static inline const QString DuplicateMessage = QStringLiteral("商品不可重复！");
    static inline const QString OutOfRangeMessage = QStringLiteral("数值超出范围！");

private:
    std::optional<Refusal> prepareRow(const GoodsEntry &e, GoodsRecord &r) const;
    QSqlQuery runFilter(const QString &head, const GoodsFilter &f, const QString &tail);

    Database &db_;
};
