// The five lookup lists (categories, units, warehouses, adjustment reasons, income and expense
// items): one mechanism, told apart by a small configuration. Other records hold their values as
// text, so renaming or deleting a value changes no other row.
#pragma once

#include "app/data/database.h"
#include "app/refusal.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>

enum class LookupKind { Category, Unit, Warehouse, AdjustmentReason, IncomeExpenseItem };

// Everything that differs between the five lists.
struct LookupListConfig {
    LookupKind kind;
    QString table;               // "lb", "dw", "ck", "rklx", "szxm"
    QStringList columns;         // the edited columns; szxm has "lb" (收入/支出) and "xm"
    QStringList titles;          // grid titles, one per column
    QString listCaption;         // "商品类别设置"
    QString addCaption;          // "新增商品类别"
    QString editCaption;         // "修改商品类别"; empty for the lists without edit
    QStringList labels;          // the add dialog's labels, one per column
    QString noun;                // "类别": "没有类别可选择！", "确定要删除此类别么？"
    QStringList emptyMessages;   // one per column: "商品类别不可为空！"
    QString repeatMessage;       // "商品类别不可重复！"
    QString chosenColumn;        // the value "选择" hands back: "lb", "dw", "ck", "lx", "xm"
    bool canEdit = true;
    bool titleSort = true;

    static const LookupListConfig &of(LookupKind kind);
};

// The two categories of income and expense items, in the order the add dialog offers them.
QStringList incomeExpenseCategories();

class LookupList {
public:
    LookupList(Database &db, LookupKind kind) : db_(db), config_(LookupListConfig::of(kind)) {}

    const LookupListConfig &config() const { return config_; }

    // Every row with id and the configured columns, in the order of entry.
    QSqlQuery all();
    // The chosen column's values in the order of entry (the category tree of the goods windows).
    QStringList values();

    // Adds a row with the values trimmed (one per configured column). Refused when a value is
    // empty or when a row with the same values exists already. *newId receives the new id.
    std::optional<Refusal> add(const QStringList &values, qint64 *newId = nullptr);
    // Rewrites the row with the values trimmed. Only emptiness is refused: renaming a value to
    // one that exists already is accepted and leaves two equal rows.
    std::optional<Refusal> edit(qint64 id, const QStringList &values);
    void remove(qint64 id);

private:
    std::optional<Refusal> checkFilled(const QStringList &values) const;

    Database &db_;
    const LookupListConfig &config_;
};

// The warehouse list serves many windows; the opener's mark names the field "选择" fills.
// Returns "ck", "ck1" or "ck2", or an empty text for a mark no window uses.
QString warehouseFieldForMark(const QString &mark);

// A window that opens a lookup list as the picker of one of its fields implements this; the
// list calls it once when the operator chooses a value, before it closes.
class LookupCaller {
public:
    virtual ~LookupCaller() = default;
    // `mark` is the mark the opener gave the list ("tjsp", "tjdb1", …; see
    // warehouseFieldForMark for the warehouse list), `value` the chosen row's value.
    virtual void lookupChosen(LookupKind kind, const QString &mark, const QString &value) = 0;
};
