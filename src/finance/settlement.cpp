#include "finance/settlement.h"

#include "app/data/sql_filter.h"

namespace {

SettlementConfig payment()
{
    SettlementConfig c;
    c.kind = SettlementKind::Payment;
    c.ledger = QStringLiteral("fkfx");
    c.documents = QStringLiteral("cgglz");
    c.partner = QStringLiteral("ghs");
    c.payable = QStringLiteral("yfe");
    c.paid = QStringLiteral("sfe");
    c.partnerCaption = QStringLiteral("厂商");
    c.payableCaption = QStringLiteral("应付额");
    c.paidCaption = QStringLiteral("实付额");
    c.listCaption = QStringLiteral("采购付款明细表");
    c.legend = QStringLiteral("付款＜0：采购退款");
    c.amountCaption = QStringLiteral("付款金额");
    c.addCaption = QStringLiteral("新增付款");
    c.editCaption = QStringLiteral("修改付款");
    c.amountField = QStringLiteral("fk");
    c.amountLabel = QStringLiteral("本次付款");
    c.emptyAmount = QStringLiteral("0");
    c.zeroMessage = QStringLiteral("本次付款不可为零！");
    c.chooserCaption = QStringLiteral("选择应付帐单（采购欠款单）");
    c.chooserHint = QStringLiteral("选择应付帐单");
    c.positiveType = QStringLiteral("采购付款");
    c.negativeType = QStringLiteral("采购退款");
    c.printName = QStringLiteral("付款明细表");
    c.employeeMark = QStringLiteral("tjfkfx");
    return c;
}

SettlementConfig collection()
{
    SettlementConfig c;
    c.kind = SettlementKind::Collection;
    c.ledger = QStringLiteral("skfx");
    c.documents = QStringLiteral("xsglz");
    c.partner = QStringLiteral("kh");
    c.payable = QStringLiteral("yse");
    c.paid = QStringLiteral("sse");
    c.partnerCaption = QStringLiteral("客户");
    c.payableCaption = QStringLiteral("应收额");
    c.paidCaption = QStringLiteral("实收额");
    c.listCaption = QStringLiteral("销售收款明细表");
    c.legend = QStringLiteral("收款＜0：销售退款");
    c.amountCaption = QStringLiteral("收款金额");
    c.addCaption = QStringLiteral("新增收款");
    c.editCaption = QStringLiteral("修改收款");
    c.amountField = QStringLiteral("sk");
    c.amountLabel = QStringLiteral("本次收款");
    c.emptyAmount = QStringLiteral("0.00");
    c.zeroMessage = QStringLiteral("本次收款不可为零！");
    c.chooserCaption = QStringLiteral("选择应收帐单（销售欠款单）");
    c.chooserHint = QStringLiteral("选择应收帐单");
    c.positiveType = QStringLiteral("销售收款");
    c.negativeType = QStringLiteral("销售退款");
    c.printName = QStringLiteral("收款明细表");
    c.employeeMark = QStringLiteral("tjskfx");
    return c;
}

} // namespace

const SettlementConfig &SettlementConfig::of(SettlementKind kind)
{
    static const SettlementConfig p = payment();
    static const SettlementConfig c = collection();
    return kind == SettlementKind::Payment ? p : c;
}

void addDateRange(SqlFilter &f, const DatePeriod &dates)
{
    if (dates) f.add(QStringLiteral("rq >= ? AND rq <= ?"), {dateText(dates->first), dateText(dates->second)});
}

void addTexts(SqlFilter &f, const QString &partnerColumn, const QString &partner, const QString &employee,
              const QString &dh)
{
    f.contains(partnerColumn, partner);
    f.contains(QStringLiteral("jsr"), employee);
    f.contains(QStringLiteral("dh"), dh);
}

QString whereKeeping(const SqlFilter &f, const QList<qint64> &kept, QVariantList &values)
{
    values = f.values();
    const QString where = f.where();
    if (kept.isEmpty() || where.isEmpty()) return where;
    QStringList marks;
    for (qint64 id : kept) {
        marks << QStringLiteral("?");
        values << id;
    }
    const QString conditions = where.mid(QStringLiteral(" WHERE ").size());
    return QStringLiteral(" WHERE (%1) OR id IN (%2)").arg(conditions, marks.join(u','));
}

SettlementFilter SettlementFilter::day(const QDate &d)
{
    SettlementFilter f;
    f.dates = std::make_pair(d, d);
    return f;
}

SettlementService::SettlementService(Database &db, SettlementKind kind) : db_(db), config_(SettlementConfig::of(kind)) {}

std::optional<OwedDocument> SettlementService::owedDocument(const QString &dh)
{
    if (dh.isEmpty()) return std::nullopt;
    QSqlQuery &q = db_.execCached(
        QStringLiteral("SELECT dh, %1, qk FROM %2 WHERE dh = ? AND shbj = ? AND qk <> 0").arg(config_.partner, config_.documents),
        {dh, Approved});
    if (!q.next()) return std::nullopt;
    OwedDocument d{q.value(0).toString(), q.value(1).toString(), Decimal::fromRaw(q.value(2).toLongLong())};
    q.finish();
    return d;
}

QSqlQuery SettlementService::owedDocuments(const QString &partner, const DatePeriod &dates)
{
    SqlFilter f(db_);
    f.contains(config_.partner, partner);
    addDateRange(f, dates);
    f.equals(QStringLiteral("shbj"), Approved);
    f.add(QStringLiteral("qk <> 0"));
    return db_.exec(QStringLiteral("SELECT id, rq, dh, %1, %2, %3, qk, jsr FROM %4%5 ORDER BY id")
                        .arg(config_.partner, config_.payable, config_.paid, config_.documents, f.where()),
                    f.values());
}

std::optional<Refusal> SettlementService::check(const SettlementEntry &e) const
{
    if (e.partner.trimmed().isEmpty()) return Refusal{QStringLiteral("帐单不可为空！"), QStringLiteral("dh")};
    if (e.owed.isZero()) return Refusal{QStringLiteral("欠款为零，无须支付！"), QStringLiteral("qk")};
    if (e.amount.round2().isZero()) return Refusal{config_.zeroMessage, config_.amountField};
    if (e.jsr.trimmed().isEmpty()) return Refusal{QStringLiteral("经办人不可为空！"), QStringLiteral("jsr")};
    return std::nullopt;
}

void SettlementService::settle(const QString &dh, Decimal amount)
{
    // One statement, so two counters settling the same document never lose an amount.
    db_.exec(QStringLiteral("UPDATE %1 SET %2 = %2 + ?, qk = %3 - (%2 + ?) WHERE dh = ?")
                 .arg(config_.documents, config_.paid, config_.payable),
             {amount.raw(), amount.raw(), dh});
}

std::variant<qint64, Refusal> SettlementService::save(const SettlementEntry &e, qint64 id)
{
    if (auto r = check(e)) return *r;
    const Decimal amount = e.amount.round2();
    const QList<std::pair<QString, QVariant>> values = {
        {QStringLiteral("rq"), dateText(e.date)}, {QStringLiteral("dh"), e.dh},   {config_.partner, e.partner},
        {QStringLiteral("je"), amount.raw()},     {QStringLiteral("jsr"), e.jsr}, {QStringLiteral("bz"), e.bz},
        {QStringLiteral("shbj"), Approved}};
    Transaction tx(db_);
    if (id == 0) {
        id = db_.insert(config_.ledger, values);
    } else {
        takeOut(id);
        db_.update(config_.ledger, id, values);
    }
    settle(e.dh, amount);
    tx.commit();
    return id;
}

bool SettlementService::takeOut(qint64 id)
{
    QSqlQuery q = db_.exec(QStringLiteral("SELECT dh, je, shbj FROM %1 WHERE id = ?").arg(config_.ledger), {id});
    if (!q.next()) throw DbError(QStringLiteral("该记录已不存在"));
    if (q.value(2).toString() != Approved) return false;
    settle(q.value(0).toString(), -Decimal::fromRaw(q.value(1).toLongLong()));
    return true;
}

std::optional<Refusal> SettlementService::unapprove(qint64 id)
{
    Transaction tx(db_);
    if (!takeOut(id)) return Refusal{AlreadyUnapproved, QString(), Refusal::Refused};
    db_.exec(QStringLiteral("UPDATE %1 SET shbj = ? WHERE id = ?").arg(config_.ledger), {NotApproved, id});
    tx.commit();
    return std::nullopt;
}

void SettlementService::remove(qint64 id)
{
    Transaction tx(db_);
    takeOut(id);
    db_.exec(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(config_.ledger), {id});
    tx.commit();
}

SqlFilter SettlementService::filter(const SettlementFilter &f) const
{
    SqlFilter s(db_);
    if (f.matchTexts) addTexts(s, config_.partner, f.partner, f.employee, f.dh);
    if (f.approval != SettlementFilter::AnyApproval)
        s.equals(QStringLiteral("shbj"), f.approval == SettlementFilter::Approved ? Approved : NotApproved);
    if (f.direction == SettlementFilter::Settled) s.add(QStringLiteral("je > 0"));
    if (f.direction == SettlementFilter::Refunded) s.add(QStringLiteral("je < 0"));
    addDateRange(s, f.dates);
    return s;
}

QSqlQuery SettlementService::rows(const SettlementFilter &f)
{
    QVariantList values;
    const QString where = whereKeeping(filter(f), f.kept, values);
    return db_.exec(QStringLiteral("SELECT id, rq, dh, %1, je, jsr, bz, shbj FROM %2%3 ORDER BY id")
                        .arg(config_.partner, config_.ledger, where),
                    values);
}

Decimal SettlementService::total(const SettlementFilter &f)
{
    const SqlFilter s = filter(f);
    QSqlQuery q = db_.exec(QStringLiteral("SELECT SUM(je) FROM %1%2").arg(config_.ledger, s.where()), s.values());
    return Decimal::fromRaw(q.next() ? q.value(0).toLongLong() : 0);
}
