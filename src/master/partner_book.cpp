#include "master/partner_book.h"

#include "app/data/sql_filter.h"

#include <QVariant>

const PartnerConfig &PartnerConfig::of(PartnerKind kind)
{
    static const PartnerConfig suppliers{
        PartnerKind::Supplier,
        QStringLiteral("ghs"),
        QStringLiteral("厂商"),
        QStringLiteral("厂商资料"),
        QStringLiteral("新增厂商资料"),
        QStringLiteral("修改厂商资料"),
        QStringLiteral("选择厂商资料"),
        QStringLiteral("厂商资料表"),
        QStringLiteral("导入厂商资料"),
        QStringLiteral("厂商名称不可重复！"),
        {QStringLiteral("tjcg")},
        true,
    };
    static const PartnerConfig customers{
        PartnerKind::Customer,
        QStringLiteral("kh"),
        QStringLiteral("客户"),
        QStringLiteral("客户资料"),
        QStringLiteral("新增客户资料"),
        QStringLiteral("修改客户资料"),
        QStringLiteral("选择客户资料"),
        QStringLiteral("客户资料表"),
        QStringLiteral("导入客户资料"),
        QStringLiteral("客户名称不可重复！"),
        {QStringLiteral("tjxs"), QStringLiteral("tjpf")},
        false,
    };
    return kind == PartnerKind::Supplier ? suppliers : customers;
}

const QStringList &PartnerRecord::columns()
{
    static const QStringList c = {"mc", "lxr", "lxdh", "lxdz", "lxcz", "yb", "yhmc", "yhzh", "bz"};
    return c;
}

namespace {

// Column name -> member, so the nine columns are written out once.
QString PartnerRecord::*member(const QString &column)
{
    static const QList<std::pair<QString, QString PartnerRecord::*>> map = {
        {"mc", &PartnerRecord::mc},     {"lxr", &PartnerRecord::lxr},   {"lxdh", &PartnerRecord::lxdh},
        {"lxdz", &PartnerRecord::lxdz}, {"lxcz", &PartnerRecord::lxcz}, {"yb", &PartnerRecord::yb},
        {"yhmc", &PartnerRecord::yhmc}, {"yhzh", &PartnerRecord::yhzh}, {"bz", &PartnerRecord::bz},
    };
    for (const auto &[name, m] : map)
        if (name == column) return m;
    return nullptr;
}

} // namespace

QString PartnerRecord::value(const QString &column) const
{
    auto m = member(column);
    return m ? this->*m : QString();
}

void PartnerRecord::setValue(const QString &column, const QString &v)
{
    if (auto m = member(column)) this->*m = v;
}

PartnerRecord PartnerRecord::trimmed() const
{
    PartnerRecord r = *this;
    for (const QString &c : columns()) r.setValue(c, value(c).trimmed());
    return r;
}

PartnerRecord PartnerRecord::fromQuery(const QSqlQuery &q)
{
    PartnerRecord r;
    r.id = q.value(QStringLiteral("id")).toLongLong();
    for (const QString &c : columns()) r.setValue(c, q.value(c).toString());
    return r;
}

QSqlQuery PartnerBook::all()
{
    return db_.exec(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(config_.table));
}

QSqlQuery PartnerBook::query(const PartnerFilter &f)
{
    // The name box always counts; the other boxes only when filled, so a partner without
    // contact, telephone or address is still found.
    SqlFilter filter(db_);
    filter.contains(QStringLiteral("mc"), f.name)
        .containsIfTyped(QStringLiteral("lxr"), f.contact)
        .containsIfTyped(QStringLiteral("lxdh"), f.phone)
        .containsIfTyped(QStringLiteral("lxdz"), f.address);
    return db_.exec(QStringLiteral("SELECT * FROM ") + config_.table + filter.where() + QStringLiteral(" ORDER BY id"),
                    filter.values());
}

QSqlQuery PartnerBook::search(const QString &typed)
{
    return db_.exec(QStringLiteral("SELECT * FROM %1 WHERE %2 ORDER BY id").arg(config_.table, db_.containsCondition("mc")),
                    {Database::containsPattern(typed)});
}

std::optional<Refusal> PartnerBook::check(const PartnerRecord &r, bool adding)
{
    if (r.mc.isEmpty()) return Refusal{EmptyNameMessage, QStringLiteral("mc")};
    // A new name must not be taken; editing a row makes no uniqueness test, as the book has
    // always done.
    if (adding && db_.exists(QStringLiteral("SELECT mc FROM %1 WHERE mc = ?").arg(config_.table), {r.mc}))
        return Refusal{config_.duplicateMessage, QStringLiteral("mc"), Refusal::Refused};
    return std::nullopt;
}

namespace {

QList<std::pair<QString, QVariant>> storedValues(const PartnerRecord &r)
{
    QList<std::pair<QString, QVariant>> values;
    for (const QString &c : PartnerRecord::columns()) values.append({c, r.value(c)});
    return values;
}

} // namespace

std::optional<Refusal> PartnerBook::add(const PartnerRecord &typed, qint64 *newId)
{
    const PartnerRecord r = typed.trimmed();
    if (auto refused = check(r, true)) return refused;
    const qint64 id = db_.insert(config_.table, storedValues(r));
    if (newId) *newId = id;
    return std::nullopt;
}

std::optional<Refusal> PartnerBook::update(const PartnerRecord &typed)
{
    const PartnerRecord r = typed.trimmed();
    if (auto refused = check(r, false)) return refused;
    db_.update(config_.table, r.id, storedValues(r));
    return std::nullopt;
}

void PartnerBook::remove(qint64 id)
{
    db_.exec(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(config_.table), {id});
}

std::optional<PartnerRecord> PartnerBook::find(qint64 id)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT * FROM %1 WHERE id = ?").arg(config_.table), {id});
    if (!q.next()) return std::nullopt;
    return PartnerRecord::fromQuery(q);
}
