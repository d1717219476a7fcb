#include "finance/income_expense.h"

IncomeExpenseFilter IncomeExpenseFilter::day(const QDate &d)
{
    IncomeExpenseFilter f;
    f.dates = std::make_pair(d, d);
    return f;
}

std::optional<Refusal> IncomeExpenseBook::check(const IncomeExpenseEntry &e) const
{
    const QString lb = e.category.trimmed();
    if (lb.isEmpty()) return Refusal{QStringLiteral("类别不可为空！"), QStringLiteral("ComboBox1")};
    if (lb != Income && lb != Expense) return Refusal{QStringLiteral("类别只可为收入或支出！"), QStringLiteral("ComboBox1")};
    if (e.xm.trimmed().isEmpty()) return Refusal{QStringLiteral("项目不可为空！"), QStringLiteral("xm")};
    if (e.amount.round2().isZero()) return Refusal{QStringLiteral("金额不可为零！"), QStringLiteral("je")};
    if (e.jsr.trimmed().isEmpty()) return Refusal{QStringLiteral("经办人不可为空！"), QStringLiteral("jsr")};
    return std::nullopt;
}

std::variant<qint64, Refusal> IncomeExpenseBook::save(const IncomeExpenseEntry &e, qint64 id)
{
    if (auto r = check(e)) return *r;
    const QString lb = e.category.trimmed();
    const qint64 amount = e.amount.round2().raw();
    const QList<std::pair<QString, QVariant>> values = {
        {QStringLiteral("rq"), dateText(e.date)},
        {QStringLiteral("lb"), lb},
        {QStringLiteral("xm"), e.xm},
        {QStringLiteral("se"), lb == Income ? amount : 0},
        {QStringLiteral("ze"), lb == Expense ? amount : 0},
        {QStringLiteral("jsr"), e.jsr},
        {QStringLiteral("bz"), e.bz}};
    if (id == 0) return db_.insert(QStringLiteral("szfx"), values);
    db_.update(QStringLiteral("szfx"), id, values);
    return id;
}

void IncomeExpenseBook::remove(qint64 id) { db_.exec(QStringLiteral("DELETE FROM szfx WHERE id = ?"), {id}); }

SqlFilter IncomeExpenseBook::filter(const IncomeExpenseFilter &f) const
{
    SqlFilter s(db_);
    if (f.matchTexts) {
        s.contains(QStringLiteral("xm"), f.xm);
        s.contains(QStringLiteral("jsr"), f.employee);
    }
    if (f.category != IncomeExpenseFilter::AnyCategory)
        s.equals(QStringLiteral("lb"), f.category == IncomeExpenseFilter::IncomeOnly ? Income : Expense);
    addDateRange(s, f.dates);
    return s;
}

QSqlQuery IncomeExpenseBook::rows(const IncomeExpenseFilter &f)
{
    QVariantList values;
    const QString where = whereKeeping(filter(f), f.kept, values);
    return db_.exec(QStringLiteral("SELECT id, rq, lb, xm, se, ze, jsr, bz FROM szfx%1 ORDER BY id").arg(where), values);
}

IncomeExpenseTotals IncomeExpenseBook::totals(const IncomeExpenseFilter &f)
{
    const SqlFilter s = filter(f);
    QSqlQuery q = db_.exec(QStringLiteral("SELECT SUM(se), SUM(ze) FROM szfx%1").arg(s.where()), s.values());
    if (!q.next()) return {};
    return {Decimal::fromRaw(q.value(0).toLongLong()), Decimal::fromRaw(q.value(1).toLongLong())};
}
