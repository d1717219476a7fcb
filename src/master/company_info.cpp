#include "master/company_info.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

QString CompanyInfo::*member(const QString &column)
{
    static const QList<std::pair<QString, QString CompanyInfo::*>> map = {
        {"mczc", &CompanyInfo::mczc}, {"mcdy", &CompanyInfo::mcdy}, {"lxr", &CompanyInfo::lxr},
        {"dh", &CompanyInfo::dh},     {"cz", &CompanyInfo::cz},     {"dz", &CompanyInfo::dz},
        {"bz1", &CompanyInfo::bz1},   {"bz2", &CompanyInfo::bz2},   {"bz3", &CompanyInfo::bz3},
        {"bz4", &CompanyInfo::bz4},
    };
    for (const auto &[name, m] : map)
        if (name == column) return m;
    return nullptr;
}

// The row the program has always edited: the first one.
qint64 companyRowId(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT id FROM danwei ORDER BY id"));
    if (!q.next()) throw DbError(QStringLiteral("缺少公司信息"));
    return q.value(0).toLongLong();
}

} // namespace

const QStringList &CompanyInfo::columns()
{
    static const QStringList c = {"mczc", "mcdy", "lxr", "dh", "cz", "dz", "bz1", "bz2", "bz3", "bz4"};
    return c;
}

QString CompanyInfo::value(const QString &column) const
{
    auto m = member(column);
    return m ? this->*m : QString();
}

void CompanyInfo::setValue(const QString &column, const QString &v)
{
    if (auto m = member(column)) this->*m = v;
}

namespace company {

CompanyInfo load(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM danwei WHERE id = ?"), {companyRowId(db)});
    if (!q.next()) throw DbError(QStringLiteral("缺少公司信息"));
    CompanyInfo info;
    for (const QString &c : CompanyInfo::columns()) info.setValue(c, q.value(c).toString());
    return info;
}

std::optional<Refusal> save(Database &db, const CompanyInfo &info)
{
    if (info.mczc.trimmed().isEmpty()) return Refusal{EmptyNameMessage, QStringLiteral("mczc")};
    if (info.mcdy.trimmed().isEmpty()) return Refusal{EmptyHeadingMessage, QStringLiteral("mcdy")};
    QStringList sets;
    for (const QString &c : CompanyInfo::columns()) sets << c + QStringLiteral(" = ?");
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE danwei SET %1 WHERE id = ?").arg(sets.join(u',')));
    int i = 0;
    for (const QString &c : CompanyInfo::columns()) q.bindValue(i++, info.value(c));
    q.bindValue(i, companyRowId(db));
    Database::run(q);
    return std::nullopt;
}

QString printHeading(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT mcdy FROM danwei ORDER BY id"));
    return q.next() ? q.value(0).toString() : QString();
}

} // namespace company
