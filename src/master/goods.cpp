#include "master/goods.h"

#include "app/data/sql_filter.h"

#include "app/text/hanzi_simple_code.h"

#include <QSqlRecord>

namespace {

const QStringList &textColumns()
{
    static const QStringList c = {"ck", "lb", "ppgg", "txm", "dw", "ms", "bz"};
    return c;
}

Decimal GoodsRecord::*numberMember(const QString &column)
{
    static const QHash<QString, Decimal GoodsRecord::*> m = {
        {"jj", &GoodsRecord::jj},     {"xjpf", &GoodsRecord::xjpf}, {"xjls", &GoodsRecord::xjls},
        {"slt", &GoodsRecord::slt},   {"jet", &GoodsRecord::jet},   {"kcsl", &GoodsRecord::kcsl},
        {"kcjg", &GoodsRecord::kcjg}, {"kcje", &GoodsRecord::kcje},
    };
    return m.value(column, nullptr);
}

QString GoodsRecord::*textMember(const QString &column)
{
    static const QHash<QString, QString GoodsRecord::*> m = {
        {"ck", &GoodsRecord::ck},   {"lb", &GoodsRecord::lb}, {"ppgg", &GoodsRecord::ppgg}, {"txm", &GoodsRecord::txm},
        {"dw", &GoodsRecord::dw},   {"ms", &GoodsRecord::ms}, {"bz", &GoodsRecord::bz},
    };
    return m.value(column, nullptr);
}

QString GoodsEntry::*entryMember(const QString &column)
{
    static const QHash<QString, QString GoodsEntry::*> m = {
        {"ck", &GoodsEntry::ck},     {"lb", &GoodsEntry::lb},     {"ppgg", &GoodsEntry::ppgg}, {"txm", &GoodsEntry::txm},
        {"dw", &GoodsEntry::dw},     {"jj", &GoodsEntry::jj},     {"xjpf", &GoodsEntry::xjpf}, {"xjls", &GoodsEntry::xjls},
        {"slt", &GoodsEntry::slt},   {"jet", &GoodsEntry::jet},   {"kcsl", &GoodsEntry::kcsl}, {"kcjg", &GoodsEntry::kcjg},
        {"ms", &GoodsEntry::ms},     {"bz", &GoodsEntry::bz},
    };
    return m.value(column, nullptr);
}

const QString SelectColumns = QStringLiteral(
    "SELECT id, ck, lb, ppgg, txm, dw, jj, xjpf, xjls, slt, jet, kcsl, kcjg, kcje, ms, bz FROM sp");

} // namespace

GoodsRecord GoodsRecord::fromQuery(const QSqlQuery &q)
{
    GoodsRecord r;
    const QSqlRecord rec = q.record();
    r.id = q.value(rec.indexOf("id")).toLongLong();
    for (const QString &c : textColumns()) {
        const int i = rec.indexOf(c);
        if (i >= 0) r.*textMember(c) = q.value(i).toString();
    }
    for (const char *c : {"jj", "xjpf", "xjls", "slt", "jet", "kcsl", "kcjg", "kcje"}) {
        const int i = rec.indexOf(c);
        if (i >= 0) r.*numberMember(QString::fromLatin1(c)) = Decimal::fromRaw(q.value(i).toLongLong());
    }
    return r;
}

QString GoodsRecord::text(const QString &column) const
{
    if (auto m = textMember(column)) return this->*m;
    if (auto m = numberMember(column)) return (this->*m).toFixed2();
    if (column == QLatin1String("id")) return QString::number(id);
    return {};
}

GoodsEntry GoodsEntry::of(const GoodsRecord &r)
{
    GoodsEntry e;
    for (const char *c : {"ck", "lb", "ppgg", "txm", "dw", "jj", "xjpf", "xjls", "slt", "jet", "kcsl", "kcjg", "ms", "bz"})
        e.setValue(c, r.text(c));
    return e;
}

QString GoodsEntry::value(const QString &column) const
{
    auto m = entryMember(column);
    return m ? this->*m : QString();
}

void GoodsEntry::setValue(const QString &column, const QString &v)
{
    if (auto m = entryMember(column)) this->*m = v;
}

const QStringList &GoodsEntry::numberColumns()
{
    static const QStringList c = {"jj", "xjpf", "xjls", "slt", "jet", "kcsl", "kcjg"};
    return c;
}

const QStringList &GoodsCatalogue::columns()
{
    static const QStringList c = {"id",  "ck",  "lb",   "ppgg", "txm",  "dw",   "jj", "xjpf",
                                  "xjls", "slt", "jet", "kcsl", "kcjg", "kcje", "ms", "bz"};
    return c;
}

QSqlQuery GoodsCatalogue::all() { return db_.exec(SelectColumns + QStringLiteral(" ORDER BY id")); }

QSqlQuery GoodsCatalogue::inCategory(const QString &lb)
{
    if (lb.isEmpty()) return all();
    return db_.exec(SelectColumns + QStringLiteral(" WHERE lb = ? ORDER BY id"), {lb});
}

QSqlQuery GoodsCatalogue::inWarehouse(const QString &ck, const QString &lb)
{
    if (lb.isEmpty()) return db_.exec(SelectColumns + QStringLiteral(" WHERE ck = ? ORDER BY id"), {ck});
    return db_.exec(SelectColumns + QStringLiteral(" WHERE ck = ? AND lb = ? ORDER BY id"), {ck, lb});
}

QSqlQuery &GoodsCatalogue::search(const QString &ck, const QString &typed)
{
    const QString sql = SelectColumns + QStringLiteral(" WHERE ck = ? AND (%1 OR %2 OR %3) ORDER BY id")
                                            .arg(db_.containsCondition("ppgg"), db_.containsCondition("txm"),
                                                 db_.containsCondition("lb"));
    const QString p = Database::containsPattern(typed);
    return db_.execCached(sql, {ck, p, p, p});
}

QSqlQuery GoodsCatalogue::runFilter(const QString &head, const GoodsFilter &f, const QString &tail)
{
    // Every box counts, even an empty one: a row whose category, code, name or warehouse is
    // empty is never found by a query.
    SqlFilter filter(db_);
    filter.contains(QStringLiteral("lb"), f.lb)
        .contains(QStringLiteral("txm"), f.txm)
        .contains(QStringLiteral("ppgg"), f.ppgg)
        .contains(QStringLiteral("ck"), f.ck);
    switch (f.stock) {
    case GoodsFilter::All: break;
    case GoodsFilter::Positive: filter.add(QStringLiteral("kcsl > 0")); break;
    case GoodsFilter::Zero: filter.add(QStringLiteral("kcsl = 0")); break;
    case GoodsFilter::Negative: filter.add(QStringLiteral("kcsl < 0")); break;
    }
    return db_.exec(head + filter.where() + tail, filter.values());
}

QSqlQuery GoodsCatalogue::query(const GoodsFilter &f) { return runFilter(SelectColumns, f, QStringLiteral(" ORDER BY id")); }

StockTotals GoodsCatalogue::totals(const GoodsFilter &f)
{
    QSqlQuery q = runFilter(QStringLiteral("SELECT SUM(kcsl), SUM(kcje) FROM sp"), f, QString());
    StockTotals t;
    if (q.next()) {
        t.kcsl = Decimal::fromRaw(q.value(0).toLongLong());
        t.kcje = Decimal::fromRaw(q.value(1).toLongLong());
    }
    return t;
}

std::optional<GoodsRecord> GoodsCatalogue::find(qint64 id)
{
    QSqlQuery q = db_.exec(SelectColumns + QStringLiteral(" WHERE id = ?"), {id});
    if (!q.next()) return std::nullopt;
    return GoodsRecord::fromQuery(q);
}

std::optional<Decimal> GoodsCatalogue::storedNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return Decimal();
    bool anyDigit = false;
    for (QChar c : t) anyDigit = anyDigit || c.isDigit();
    if (!anyDigit) return Decimal();   // "." or "-" alone, as a number field can hold
    const auto d = Decimal::parse(t);
    if (!d) return std::nullopt;
    return d->round2();
}

QString GoodsCatalogue::codeForName(const QString &ppgg)
{
    return HanZiSimpleCode(ppgg, SimpleCodeFlag::KeepAll, 255);
}

std::optional<Refusal> GoodsCatalogue::prepareRow(const GoodsEntry &e, GoodsRecord &r) const
{
    static const QList<std::pair<const char *, const char *>> required = {
        {"ck", "仓库不可为空！"},   {"lb", "商品类别不可为空！"}, {"ppgg", "商品名称不可为空！"},
        {"txm", "商品编码不可为空！"}, {"dw", "计量单位不可为空！"},
    };
    for (const auto &[column, message] : required)
        if (e.value(column).trimmed().isEmpty())
            return Refusal{QString::fromUtf8(message), column, Refusal::Missing};
    for (const QString &c : textColumns()) r.*textMember(c) = e.value(c).trimmed();
    for (const QString &c : GoodsEntry::numberColumns()) {
        const auto d = storedNumber(e.value(c));
        if (!d) return Refusal{OutOfRangeMessage, c, Refusal::Refused};
        r.*numberMember(c) = *d;
    }
    try {
        r.kcje = (r.kcsl * r.kcjg).round2();
    } catch (const DecimalOverflow &) {
        return Refusal{OutOfRangeMessage, "kcsl", Refusal::Refused};
    }
    return std::nullopt;
}

namespace {

QList<std::pair<QString, QVariant>> rowValues(const GoodsRecord &r)
{
    QList<std::pair<QString, QVariant>> v;
    for (const char *c : {"ck", "lb", "ppgg", "txm", "dw"}) v.append({c, r.text(c)});
    for (const char *c : {"jj", "xjpf", "xjls", "slt", "jet", "kcsl", "kcjg", "kcje"}) v.append({c, (r.*numberMember(c)).raw()});
    v.append({"ms", r.ms});
    v.append({"bz", r.bz});
    return v;
}

} // namespace

std::optional<Refusal> GoodsCatalogue::add(const GoodsEntry &e, GoodsRecord *saved)
{
    GoodsRecord r;
    if (auto refusal = prepareRow(e, r)) return refusal;
    if (db_.exists(QStringLiteral("SELECT 1 FROM sp WHERE ck = ? AND ppgg = ? AND txm = ? AND dw = ?"),
                   {r.ck, r.ppgg, r.txm, r.dw}))
        return Refusal{DuplicateMessage, "txm", Refusal::Refused};
    r.id = db_.insert(QStringLiteral("sp"), rowValues(r));
    if (saved) *saved = r;
    return std::nullopt;
}

std::optional<Refusal> GoodsCatalogue::update(qint64 id, const GoodsEntry &e, GoodsRecord *saved)
{
    GoodsRecord r;
    if (auto refusal = prepareRow(e, r)) return refusal;
    r.id = id;
    db_.update(QStringLiteral("sp"), id, rowValues(r));
    if (saved) *saved = r;
    return std::nullopt;
}

void GoodsCatalogue::remove(qint64 id) { db_.exec(QStringLiteral("DELETE FROM sp WHERE id = ?"), {id}); }

QHash<qint64, QString> GoodsCatalogue::regenerateCodes(const QList<qint64> &ids)
{
    QHash<qint64, QString> codes;
    Transaction tx(db_);
    QSqlQuery read = db_.prepare(QStringLiteral("SELECT ppgg FROM sp WHERE id = ?"));
    QSqlQuery write = db_.prepare(QStringLiteral("UPDATE sp SET txm = ? WHERE id = ?"));
    for (qint64 id : ids) {
        read.bindValue(0, id);
        Database::run(read);
        if (!read.next()) continue;
        const QString code = codeForName(read.value(0).toString());
        read.finish();
        write.bindValue(0, code);
        write.bindValue(1, id);
        Database::run(write);
        codes.insert(id, code);
    }
    tx.commit();
    return codes;
}
