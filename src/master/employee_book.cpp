#include "master/employee_book.h"

#include "app/data/sql_filter.h"

#include <QVariant>

namespace {

QString EmployeeRecord::*member(const QString &column)
{
    static const QList<std::pair<QString, QString EmployeeRecord::*>> map = {
        {"xm", &EmployeeRecord::xm}, {"xb", &EmployeeRecord::xb},   {"zw", &EmployeeRecord::zw},
        {"bm", &EmployeeRecord::bm}, {"dh", &EmployeeRecord::dh},   {"dz", &EmployeeRecord::dz},
        {"sfz", &EmployeeRecord::sfz}, {"bz", &EmployeeRecord::bz},
    };
    for (const auto &[name, m] : map)
        if (name == column) return m;
    return nullptr;
}

} // namespace

const QStringList &EmployeeRecord::textColumns()
{
    static const QStringList c = {"xm", "xb", "zw", "bm", "dh", "dz", "sfz", "bz"};
    return c;
}

QString EmployeeRecord::value(const QString &column) const
{
    auto m = member(column);
    return m ? this->*m : QString();
}

void EmployeeRecord::setValue(const QString &column, const QString &v)
{
    if (auto m = member(column)) this->*m = v;
}

EmployeeRecord EmployeeRecord::fromQuery(const QSqlQuery &q)
{
    EmployeeRecord r;
    r.id = q.value(QStringLiteral("id")).toLongLong();
    for (const QString &c : textColumns()) r.setValue(c, q.value(c).toString());
    r.jbgz = Decimal::fromRaw(q.value(QStringLiteral("jbgz")).toLongLong());
    return r;
}

QSqlQuery EmployeeBook::all()
{
    return db_.exec(QStringLiteral("SELECT * FROM yg ORDER BY id"));
}

QSqlQuery EmployeeBook::query(const EmployeeFilter &f)
{
    SqlFilter filter(db_);
    filter.contains(QStringLiteral("xm"), f.name);
    if (f.sex != EmployeeFilter::Any) filter.equals(QStringLiteral("xb"), Sexes[f.sex == EmployeeFilter::Male ? 0 : 1]);
    filter.containsIfTyped(QStringLiteral("bm"), f.department).containsIfTyped(QStringLiteral("dh"), f.phone);
    return db_.exec(QStringLiteral("SELECT * FROM yg") + filter.where() + QStringLiteral(" ORDER BY id"), filter.values());
}

QSqlQuery EmployeeBook::search(const QString &typed)
{
    return db_.exec(QStringLiteral("SELECT * FROM yg WHERE %1 AND xm <> '' ORDER BY id").arg(db_.containsCondition("xm")),
                    {Database::containsPattern(typed)});
}

EmployeeRecord EmployeeBook::cleaned(const EmployeeRecord &typed)
{
    EmployeeRecord r = typed;
    for (const QString &c : EmployeeRecord::textColumns()) r.setValue(c, typed.value(c).trimmed());
    r.jbgz = typed.jbgz.round2();
    return r;
}

std::optional<Refusal> EmployeeBook::check(const EmployeeRecord &r, bool adding)
{
    if (r.xm.isEmpty()) return Refusal{EmptyNameMessage, QStringLiteral("xm")};
    if (r.xb.isEmpty()) return Refusal{EmptySexMessage, QStringLiteral("xb")};
    if (adding && db_.exists(QStringLiteral("SELECT xm FROM yg WHERE xm = ?"), {r.xm}))
        return Refusal{DuplicateMessage, QStringLiteral("xm"), Refusal::Refused};
    return std::nullopt;
}

namespace {

QList<std::pair<QString, QVariant>> storedValues(const EmployeeRecord &r)
{
    QList<std::pair<QString, QVariant>> values;
    for (const QString &c : EmployeeRecord::textColumns()) values.append({c, r.value(c)});
    values.append({QStringLiteral("jbgz"), r.jbgz.raw()});
    return values;
}

} // namespace

std::optional<Refusal> EmployeeBook::add(const EmployeeRecord &typed, qint64 *newId)
{
    const EmployeeRecord r = cleaned(typed);
    if (auto refused = check(r, true)) return refused;
    const qint64 id = db_.insert(QStringLiteral("yg"), storedValues(r));
    if (newId) *newId = id;
    return std::nullopt;
}

std::optional<Refusal> EmployeeBook::update(const EmployeeRecord &typed)
{
    const EmployeeRecord r = cleaned(typed);
    if (auto refused = check(r, false)) return refused;
    db_.update(QStringLiteral("yg"), r.id, storedValues(r));
    return std::nullopt;
}

void EmployeeBook::remove(qint64 id)
{
    db_.exec(QStringLiteral("DELETE FROM yg WHERE id = ?"), {id});
}

std::optional<EmployeeRecord> EmployeeBook::find(qint64 id)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT * FROM yg WHERE id = ?"), {id});
    if (!q.next()) return std::nullopt;
    return EmployeeRecord::fromQuery(q);
}
