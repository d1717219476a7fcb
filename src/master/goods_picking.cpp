#include "master/goods_picking.h"

#include <QHash>

namespace GoodsPicking {

namespace {

const QHash<QString, QString> &priceByMark()
{
    static const QHash<QString, QString> m = {
        {"tjcg", "jj"}, {"tjxs", "xjls"}, {"tjpf", "xjpf"}, {"tjrk", "kcjg"}, {"tjdb", "kcjg"},
    };
    return m;
}

Decimal price(const GoodsRecord &g, const QString &column)
{
    if (column == QLatin1String("jj")) return g.jj;
    if (column == QLatin1String("xjls")) return g.xjls;
    if (column == QLatin1String("xjpf")) return g.xjpf;
    return g.kcjg;
}

} // namespace

bool isLineMark(const QString &mark) { return priceByMark().contains(mark); }

QString priceColumn(const QString &mark) { return priceByMark().value(mark); }

const QStringList &priceColumns()
{
    static const QStringList c = {"jj", "xjpf", "xjls", "kcjg"};
    return c;
}

std::optional<GoodsLine> lineFor(const QString &mark, const GoodsRecord &goods)
{
    if (!isLineMark(mark)) return std::nullopt;
    GoodsLine l;
    l.txm = goods.txm;
    l.ppgg = goods.ppgg;
    l.dw = goods.dw;
    l.sl = Decimal(1);
    l.jg = price(goods, priceColumn(mark));
    l.je = l.jg;   // one unit at the price
    if (mark == QLatin1String("tjcg") || mark == QLatin1String("tjxs") || mark == QLatin1String("tjpf")) l.zk = Decimal(1);
    if (mark == QLatin1String("tjxs") || mark == QLatin1String("tjpf")) {
        l.cbjg = goods.kcjg;
        l.cbje = goods.kcjg;
        l.maoli = l.je - goods.kcjg;
    }
    return l;
}

QString warehouseMissingMessage(const QString &mark)
{
    return mark == QLatin1String("tjdb") ? QStringLiteral("调出仓库不可为空！") : QStringLiteral("仓库不可为空！");
}

bool isAssemblyMark(const QString &mark)
{
    return mark == QLatin1String("zu1") || mark == QLatin1String("zu2") || mark == QLatin1String("chai1") ||
           mark == QLatin1String("chai2");
}

QString assemblyWarehouseMissingMessage(const QString &mark)
{
    return mark.endsWith(u'1') ? QStringLiteral("整件仓库不可为空！") : QStringLiteral("零件仓库不可为空！");
}

std::pair<QString, QString> stockTotalsTexts(const StockTotals &t, const QString &stkcjg)
{
    return {t.kcsl.toPlain(), stkcjg == QStringLiteral("不显价格") ? QString() : t.kcje.toPlain()};
}

} // namespace GoodsPicking
