#include "master/ui/goods_grid.h"

namespace GoodsGrid {

namespace {

using Col = RecordTableModel::Column;
constexpr auto T = RecordTableModel::Text;
constexpr auto A = RecordTableModel::Amount;
constexpr auto Q = RecordTableModel::Quantity;

const QHash<QString, Col> &known()
{
    static const QHash<QString, Col> c = {
        {"id", {"id", "id", RecordTableModel::Integer, false}},
        {"txm", {"txm", "编码", T}},       {"ppgg", {"ppgg", "商品名称", T}}, {"dw", {"dw", "单位", T}},
        {"jj", {"jj", "采购单价", A}},     {"xjpf", {"xjpf", "批发单价", A}}, {"xjls", {"xjls", "零售单价", A}},
        {"kcsl", {"kcsl", "库存数量", Q}}, {"kcjg", {"kcjg", "库存单价", A}}, {"kcje", {"kcje", "库存金额", A}},
        {"slt", {"slt", "数量提成", A}},   {"jet", {"jet", "金额提成", A}},   {"ms", {"ms", "商品描述", T}},
        {"bz", {"bz", "备注", T}},         {"lb", {"lb", "类别", T}},         {"ck", {"ck", "仓库", T}},
    };
    return c;
}

QList<Col> columns(const QStringList &fields)
{
    QList<Col> out;
    for (const QString &f : fields) out << known().value(f);
    return out;
}

} // namespace

QList<RecordTableModel::Column> listColumns()
{
    return columns({"txm", "ppgg", "dw", "jj", "xjpf", "xjls", "kcsl", "kcjg", "kcje", "slt", "jet", "ms", "bz", "lb", "ck", "id"});
}

QList<RecordTableModel::Column> stockColumns()
{
    return columns({"txm", "ppgg", "dw", "kcsl", "kcjg", "kcje", "xjpf", "xjls", "ms", "bz", "lb", "ck", "id"});
}

QList<RecordTableModel::Column> pickerColumns(bool assembly)
{
    // Columns a picker does not show are still loaded: the line it makes takes their values.
    const QStringList shown = assembly ? QStringList{"txm", "ppgg", "dw", "kcsl", "kcjg", "ms", "bz", "lb", "ck"}
                                       : QStringList{"txm", "ppgg", "dw", "kcsl", "jj", "xjpf", "xjls", "kcjg", "ms", "bz", "lb", "ck"};
    QList<Col> c = columns(shown);
    for (const char *f : {"id", "jj", "xjpf", "xjls", "slt", "jet", "kcje"}) {
        if (shown.contains(QLatin1String(f))) continue;
        Col hidden = known().value(QString::fromLatin1(f));
        hidden.visible = false;
        c << hidden;
    }
    return c;
}

GoodsRecord recordAt(const RecordTableModel &m, int row)
{
    GoodsRecord r;
    r.id = m.integer(row, QStringLiteral("id"));
    r.ck = m.text(row, QStringLiteral("ck"));
    r.lb = m.text(row, QStringLiteral("lb"));
    r.ppgg = m.text(row, QStringLiteral("ppgg"));
    r.txm = m.text(row, QStringLiteral("txm"));
    r.dw = m.text(row, QStringLiteral("dw"));
    r.ms = m.text(row, QStringLiteral("ms"));
    r.bz = m.text(row, QStringLiteral("bz"));
    r.jj = m.decimal(row, QStringLiteral("jj"));
    r.xjpf = m.decimal(row, QStringLiteral("xjpf"));
    r.xjls = m.decimal(row, QStringLiteral("xjls"));
    r.slt = m.decimal(row, QStringLiteral("slt"));
    r.jet = m.decimal(row, QStringLiteral("jet"));
    r.kcsl = m.decimal(row, QStringLiteral("kcsl"));
    r.kcjg = m.decimal(row, QStringLiteral("kcjg"));
    r.kcje = m.decimal(row, QStringLiteral("kcje"));
    return r;
}

void append(RecordTableModel &m, const GoodsRecord &r)
{
    std::vector<RecordTableModel::Cell> cells;
    for (const RecordTableModel::Column &c : m.columns()) {
        if (c.field == QLatin1String("id")) cells.emplace_back(r.id);
        else if (c.kind == RecordTableModel::Text) cells.emplace_back(r.text(c.field));
        else cells.emplace_back(*Decimal::parse(r.text(c.field)));
    }
    m.appendRow(cells);
}

} // namespace GoodsGrid
