// Other income and expense: money in or out outside the trade documents, booked by item.
#pragma once

#include "app/data/database.h"
#include "app/refusal.h"
#include "app/text/decimal.h"
#include "finance/settlement.h"

#include <QDate>
#include <QSqlQuery>
#include <QString>

#include <optional>

struct IncomeExpenseEntry {
    QDate date;
    QString category;   // "收入" or "支出", as typed
    QString xm;
    Decimal amount;
    QString jsr;
    QString bz;
};

struct IncomeExpenseFilter {
    enum Category { AnyCategory, IncomeOnly, ExpenseOnly };
    bool matchTexts = false;   // the query dialog's item and employee texts take part
    QString xm;
    QString employee;
    Category category = AnyCategory;
    DatePeriod dates;
    QList<qint64> kept;   // entries saved through the list since its query

    static IncomeExpenseFilter day(const QDate &d);
};

struct IncomeExpenseTotals {
    Decimal income;
    Decimal expense;
    Decimal balance() const { return income - expense; }
};

class IncomeExpenseBook {
public:
    explicit IncomeExpenseBook(Database &db) : db_(db) {}

    static inline const QString Income = QStringLiteral("收入");
    static inline const QString Expense = QStringLiteral("支出");

    // The checks of the entry dialog in the operator's order. A category other than income or
    // expense is refused: its row would carry no amount and the typed one would be lost.
    std::optional<Refusal> check(const IncomeExpenseEntry &e) const;
    // Saves a new entry (id 0) or changes entry `id`: the amount (rounded to cents) goes to
    // `se` for income, to `ze` for expense, the other one is 0. Returns the id or the refusal.
    std::variant<qint64, Refusal> save(const IncomeExpenseEntry &e, qint64 id = 0);
    void remove(qint64 id);

    QSqlQuery rows(const IncomeExpenseFilter &f);
    IncomeExpenseTotals totals(const IncomeExpenseFilter &f);

private:
    SqlFilter filter(const IncomeExpenseFilter &f) const;
    Database &db_;
};
