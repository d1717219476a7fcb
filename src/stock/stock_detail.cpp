#include "stock/stock_detail.h"

#include "app/data/operation_log.h"
#include "app/session.h"

namespace StockDetail {

namespace {

const QString NotOpen = QStringLiteral("数据表未打开，请先查询！");

Refusal warning(const QString &text) { return Refusal{text, QString(), Refusal::Refused}; }

} // namespace

StockTotals allTotals(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT SUM(kcsl), SUM(kcje) FROM sp"));
    StockTotals t;
    if (q.next()) {
        t.kcsl = Decimal::fromRaw(q.value(0).toLongLong());
        t.kcje = Decimal::fromRaw(q.value(1).toLongLong());
    }
    return t;
}

bool pricesShown() { return session::current().stkcjg == QStringLiteral("显示价格"); }
bool mayZero() { return session::current().stkcsc == QStringLiteral("归零"); }

std::optional<Refusal> zeroingRefusal(bool mayZeroStock, bool listOpen, int rows)
{
    if (!mayZeroStock) return warning(QStringLiteral("你无权归零库存！"));
    if (!listOpen) return warning(NotOpen);
    if (rows == 0) return warning(QStringLiteral("没有数据可归零，请先查询！"));
    return std::nullopt;
}

QString zeroingQuestion()
{
    return QStringLiteral("确定要归零本批库存么？\n\n1、一旦归零，当前显示的这批库存会统一为0  \n\n"
                          "2、归零只对当前显示的这批库存操作，建议先查询后归零");
}

void zeroStock(Database &db, const QList<qint64> &ids)
{
    Transaction tx(db);
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE sp SET kcsl = 0, kcje = 0 WHERE id = ?"));
    for (qint64 id : ids) {
        q.bindValue(0, id);
        Database::run(q);
    }
    OperationLog::write(db, QStringLiteral("库存归零"), QString(), QStringLiteral("%1 个商品库存归零").arg(ids.size()));
    tx.commit();
}

std::optional<Refusal> printRefusal(PrintKind kind, bool pricesAreShown, bool listOpen, int rows)
{
    if (kind == PrintKind::WithPrices && !pricesAreShown) return warning(QStringLiteral("库存价格未显示，不可打印！"));
    if (!listOpen) return warning(NotOpen);
    if (rows == 0) return warning(QStringLiteral("没有数据可打印，请先查询！"));
    return std::nullopt;
}

std::optional<Refusal> assemblyRefusal(bool disassembly, bool pricesAreShown, bool listOpen)
{
    if (!pricesAreShown)
        return warning(disassembly ? QStringLiteral("库存价格未显示，不可拆零！") : QStringLiteral("库存价格未显示，不可组装！"));
    if (!listOpen) return warning(NotOpen);
    return std::nullopt;
}

} // namespace StockDetail
