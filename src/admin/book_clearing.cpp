#include "admin/book_clearing.h"

#include "admin/book_maintenance.h"
#include "app/data/operation_log.h"
#include "app/data/schema.h"

#include <algorithm>

namespace BookClearing {

namespace {

QList<Statement> deleteAll(std::initializer_list<const char *> tables)
{
    QList<Statement> out;
    for (const char *t : tables) out << Statement{QStringLiteral("DELETE FROM ") + QLatin1String(t), {}};
    return out;
}

} // namespace

const QList<Group> &groups()
{
    static const QList<Group> all = [] {
        QList<Statement> master = deleteAll({"ghs", "kh", "yg", "sp", "lb", "dw", "ck", "szxm", "rklx"});
        master << Statement{QStringLiteral("DELETE FROM yhsz WHERE yhmc <> ?"), {schema::builtInOperator()}}
               << Statement{QStringLiteral("DELETE FROM quanxian WHERE yh <> ?"), {schema::builtInOperator()}};
        // Stock is emptied but every goods row keeps its unit cost.
        QList<Statement> stock{{QStringLiteral("UPDATE sp SET kcsl = 0, kcje = 0"), {}}};
        stock << deleteAll({"kctj", "chai", "zu", "dbglz", "dbglc", "rkglz", "rkglc", "rkfx", "rkhz"});
        return QList<Group>{
            {QStringLiteral("清除所有基本数据（厂商、客户、商品等）"), master},
            {QStringLiteral("清除所有采购数据（采购、退货、统计等）"), deleteAll({"cgglz", "cgglc", "cgfx", "cghz"})},
            {QStringLiteral("清除所有销售数据（销售、退货、统计等）"),
             deleteAll({"xsglz", "xsglc", "xsfx", "xshz", "xstj3"})},
            {QStringLiteral("清除所有库存数据（变动、库存、统计等）"), stock},
            {QStringLiteral("清除所有财务数据（应付、付款、收支等）"), deleteAll({"fkfx", "skfx", "szfx"})},
        };
    }();
    return all;
}

void clear(Database &db, QList<int> ticked)
{
    std::sort(ticked.begin(), ticked.end());
    ticked.erase(std::unique(ticked.begin(), ticked.end()), ticked.end());
    if (ticked.isEmpty()) return;
    if (const QString busy = BookMaintenance::othersConnectedRefusal(db); !busy.isEmpty()) throw DbError(busy);
    Transaction tx(db);
    QStringList cleared;
    for (int g : ticked) {
        const Group &group = groups().at(g);
        for (const Statement &s : group.statements) db.exec(s.sql, s.values);
        cleared << group.caption;
    }
    OperationLog::write(db, QStringLiteral("清空数据库"), QString(), cleared.join(u'；'));
    tx.commit();
}

} // namespace BookClearing
