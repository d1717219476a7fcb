#include "print/print_layouts.h"

#include <QHash>

#include <stdexcept>

namespace {

using Src = PrintItem::Source;
constexpr auto L = PrintAlign::Left;
constexpr auto C = PrintAlign::Center;
constexpr auto R = PrintAlign::Right;

PrintItem fixedAt(const QString &text, QRectF rect, PrintAlign align = L)
{
    PrintItem i;
    i.text = text;
    i.rect = rect;
    i.align = align;
    return i;
}

PrintItem textAt(const QString &label, const QString &key, QRectF rect, PrintAlign align = L)
{
    PrintItem i = fixedAt(label, rect, align);
    i.source = Src::Text;
    i.key = key;
    return i;
}

PrintItem inColumn(Src source, int column, PrintAlign align, const QString &text = {}, int span = 1)
{
    PrintItem i;
    i.source = source;
    i.column = column;
    i.span = span;
    i.align = align;
    i.text = text;
    return i;
}

PrintItem titleItem(double width, double height)
{
    PrintItem i = fixedAt({}, QRectF(0, 0, width, height), C);
    i.source = Src::Title;
    i.font = PrintFont::title();
    return i;
}

// Column header and detail bands follow the columns: captions centred and framed, values
// aligned as their kind asks, a rule under every row, vertical rules between the columns.
void addColumnBands(PrintLayout &l, double headerH, double rowH)
{
    l.columnHeader = {headerH, {}, true, true, true};
    l.detail = {rowH, {}, false, true, true};
    for (int c = 0; c < l.columns.size(); ++c) {
        l.columnHeader.items.append(inColumn(Src::Caption, c, C));
        l.detail.items.append(inColumn(Src::Field, c, l.columns[c].align));
    }
}

PrintLayout listLayout(const QString &name, QList<PrintColumn> columns, const QString &summaryLabel,
                       bool landscape = false)
{
    PrintLayout l;
    l.name = name;
    l.kind = PrintLayout::Kind::List;
    l.page = PageSetup::a4(landscape);
    l.columns = std::move(columns);
    const double w = l.page.printableWidthMm();

    l.pageHeader.heightMm = 14;
    l.pageHeader.items.append(titleItem(w, 12));
    addColumnBands(l, 7, 6);

    if (!summaryLabel.isEmpty()) {
        PrintBand s{7, {}, false, true, true};
        s.items.append(inColumn(Src::Fixed, 0, C, summaryLabel));
        for (int c = 1; c < l.columns.size(); ++c)
            s.items.append(inColumn(Src::Total, c, l.columns[c].align));
        l.summary.append(s);
    }

    l.pageFooter.heightMm = 8;
    PrintItem n = fixedAt(QStringLiteral("（"), QRectF(0, 2, w, 6), C);
    n.source = Src::PageNumber;
    n.font = PrintFont::pageNumber();
    l.pageFooter.items.append(n);
    return l;
}

enum class DocKind { Purchase, Sales, Transfer, Adjustment };

PrintLayout documentLayout(const QString &name, DocKind kind, bool withCodes)
{
    PrintLayout l;
    l.name = name;
    l.kind = PrintLayout::Kind::Document;
    l.page = PageSetup::continuousForm();
    const double w = l.page.printableWidthMm();   // 191 mm

    const QString qty = QStringLiteral("数  量"), price = QStringLiteral("单  价"),
                  amount = QStringLiteral("金  额");
    if (withCodes)
        l.columns = {{QStringLiteral("编码"), "txm", L, 30},   {QStringLiteral("商品名称"), "ppgg", L, 63},
                     {QStringLiteral("单位"), "dw", C, 18},    {qty, "sl", R, 24},
                     {price, "jg", R, 24},                      {amount, "je", R, 32}};
    else
        l.columns = {{QStringLiteral("商品名称"), "ppgg", L, 71}, {QStringLiteral("单位"), "dw", C, 18},
                     {qty, "sl", R, 24},                         {price, "jg", R, 24},
                     {QStringLiteral("折扣"), "zk", R, 22},      {amount, "je", R, 32}};

    // Title band: the title, the party and note lines on the left, number and date on the right.
    const double line = 5.5, y1 = 10, y2 = y1 + line;
    l.title.heightMm = y2 + line;
    PrintItem t = titleItem(w, 9);
    t.rect.moveTop(1);
    l.title.items.append(t);
    switch (kind) {
    case DocKind::Purchase:
        l.title.items.append(textAt(QStringLiteral("厂商:"), "ghs", QRectF(0, y1, 125, line)));
        l.title.items.append(textAt(QStringLiteral("备注:"), "bz", QRectF(0, y2, 125, line)));
        break;
    case DocKind::Sales:
        l.title.items.append(textAt(QStringLiteral("客户:"), "kh", QRectF(0, y1, 125, line)));
        l.title.items.append(textAt(QStringLiteral("备注:"), "bz", QRectF(0, y2, 125, line)));
        break;
    case DocKind::Transfer:
        l.title.items.append(textAt(QStringLiteral("调出仓库:"), "ck1", QRectF(0, y1, 62, line)));
        l.title.items.append(textAt(QStringLiteral("调入仓库:"), "ck2", QRectF(63, y1, 62, line)));
        l.title.items.append(textAt(QStringLiteral("备注说明:"), "bz", QRectF(0, y2, 125, line)));
        break;
    case DocKind::Adjustment:
        l.title.items.append(textAt(QStringLiteral("异动:"), "lx", QRectF(0, y1, 125, line)));
        l.title.items.append(textAt(QStringLiteral("备注:"), "bz", QRectF(0, y2, 125, line)));
        break;
    }
    l.title.items.append(textAt(QStringLiteral("单号:"), "dh", QRectF(w - 60, y1, 60, line)));
    l.title.items.append(textAt(QStringLiteral("日期:"), "rq", QRectF(w - 60, y2, 60, line)));

    addColumnBands(l, 6.5, 5.5);

    // Summary: the total line inside the frame, then the signatures (and the sales extras).
    const int qtyCol = l.columnOf(qty), amountCol = l.columnOf(amount);
    PrintBand totals{6, {}, false, true, true};
    totals.items.append(inColumn(Src::Text, 0, L, QStringLiteral("合计:"), qtyCol));
    totals.items.last().key = "dx";
    totals.items.append(inColumn(Src::Total, qtyCol, R));
    totals.items.append(inColumn(Src::Total, amountCol, R));
    l.summary.append(totals);

    if (kind == DocKind::Sales) {
        PrintBand money{line, {}, false, false, false};
        money.items.append(textAt(QStringLiteral("优惠:"), "yhe", QRectF(0, 0, 50, line)));
        money.items.append(textAt(QStringLiteral("实收:"), "sse", QRectF(52, 0, 50, line)));
        money.items.append(textAt({}, "qkbq", QRectF(104, 0, 10, line)));
        money.items.append(textAt({}, "qkdx", QRectF(114, 0, w - 114, line)));
        l.summary.append(money);
    }
    PrintBand signatures{line, {}, false, false, false};
    signatures.items.append(textAt(QStringLiteral("经办:"), "jsr", QRectF(0, 0, 60, line)));
    signatures.items.append(textAt(QStringLiteral("制单:"), "zhidan", QRectF(52, 0, 60, line)));
    l.summary.append(signatures);
    if (kind == DocKind::Sales) {
        for (const char *key : {"bz3", "bz4"}) {
            PrintBand footer{4.5, {}, false, false, false};
            footer.items.append(textAt({}, key, QRectF(0, 0, w, 4.5)));
            l.summary.append(footer);
        }
    }
    return l;
}

PrintLayout combinedStatisticsLayout()
{
    PrintLayout l;
    l.name = "TFdysztj1";
    l.kind = PrintLayout::Kind::CombinedStatistics;
    l.page = PageSetup::a4();
    const double w = l.page.printableWidthMm();
    l.pageHeader.heightMm = 14;
    l.pageHeader.items.append(titleItem(w, 12));

    struct Figure {
        const char *label;
        const char *field;
    };
    const QList<QList<Figure>> rows = {
        {{"采购数量：", "cgsl"}, {"采购金额：", "cgje"}},
        {{"销售数量：", "xssl"}, {"销售金额：", "xsje"}},
        {{"异动数量：", "rksl"}, {"异动金额：", "rkje"}},
        {{"库存数量：", "kcsl"}, {"库存金额：", "kcje"}},
        {{"采购应付：", "yf"}, {"采购实付：", "sf"}, {"采购欠款：", "qk1"}},
        {{"销售应收：", "ys"}, {"销售实收：", "ss"}, {"销售欠款：", "qk2"}},
        {{"营业付款：", "fk"}, {"营业收款：", "sk"}, {"其他收支：", "sz"}},
    };
    const double rowH = 10, cellW = w / 3, top = 10;
    l.title.items.append(textAt({}, "period", QRectF(0, 0, w, 8)));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            l.title.items.append(textAt(QString::fromUtf8(rows[r][c].label), rows[r][c].field,
                                        QRectF(c * cellW, top + r * rowH, cellW - 2, rowH)));
    const double dateY = top + rows.size() * rowH + 5;
    PrintItem date = fixedAt(QStringLiteral("打印日期："), QRectF(0, dateY, w, 7), R);
    date.source = Src::PrintDate;
    l.title.items.append(date);
    l.title.heightMm = dateY + 7;
    return l;
}

QList<PrintLayout> buildAll()
{
    const QString total = QStringLiteral("总计");
    auto col = [](const char *caption, const char *field, PrintAlign a, double w) {
        return PrintColumn{QString::fromUtf8(caption), QString::fromUtf8(field), a, w};
    };
    QList<PrintLayout> all;
    // The start-up order; every list fills the 190 mm between its margins (277 mm landscape).
    all << listLayout("TFdysp1",
                      {col("类别", "lb", L, 28), col("编码", "txm", L, 32), col("商品名称", "ppgg", L, 66),
                       col("单位", "dw", C, 16), col("批发单价", "xjpf", R, 24), col("零售单价", "xjls", R, 24)},
                      {});
    all << listLayout("TFdyghs1",
                      {col("名称", "mc", L, 55), col("联系人", "lxr", L, 25), col("电话", "lxdh", L, 35),
                       col("地址", "lxdz", L, 75)},
                      {});
    all << listLayout("TFdycggl1",
                      {col("日期", "rq", C, 25), col("单号", "dh", C, 35), col("厂商", "ghs", L, 52),
                       col("合计数量", "hjsl", R, 26), col("合计金额", "hjje", R, 27), col("欠款", "qk", R, 25)},
                      total);
    all << documentLayout("TFdycgd1", DocKind::Purchase, false);
    all << listLayout("TFdycgfx1",
                      {col("日期", "rq", C, 24), col("编码", "txm", L, 30), col("商品名称", "ppgg", L, 56),
                       col("单位", "dw", C, 14), col("数量", "sl", R, 20), col("单价", "jg", R, 20),
                       col("金额", "je", R, 26)},
                      total);
    all << listLayout("TFdycghz1",
                      {col("编码", "txm", L, 35), col("商品名称", "ppgg", L, 75), col("单位", "dw", C, 20),
                       col("数量", "zsl", R, 28), col("金额", "zje", R, 32)},
                      total);
    all << documentLayout("TFdyxsd1", DocKind::Sales, false);
    all << listLayout("TFdyxstj3",
                      {col("员工", "yuangong", L, 55), col("销售提成额", "sltc", R, 45),
                       col("金额提成额", "jetc", R, 45), col("总提成额", "ztc", R, 45)},
                      total);
    all << documentLayout("TFdyrkd1", DocKind::Adjustment, true);
    all << listLayout("TFdykcfx1",
                      {col("编码", "txm", L, 32), col("商品名称", "ppgg", L, 66), col("单位", "dw", C, 16),
                       col("库存数量", "kcsl", R, 24), col("库存单价", "kcjg", R, 24), col("库存金额", "kcje", R, 28)},
                      total);
    all << listLayout("TFdykcfx2",
                      {col("编码", "txm", L, 32), col("商品名称", "ppgg", L, 66), col("单位", "dw", C, 16),
                       col("库存数量", "kcsl", R, 28), col("批发单价", "xjpf", R, 24), col("零售单价", "xjls", R, 24)},
                      total);
    all << listLayout("TFdykctj1",
                      {col("商品名称", "ppgg", L, 59), col("单位", "dw", C, 18), col("采购数量", "cgsl", R, 25),
                       col("采购金额", "cgje", R, 25), col("销售数量", "xssl", R, 25), col("销售金额", "xsje", R, 25),
                       col("变动数量", "rksl", R, 25), col("变动金额", "rkje", R, 25), col("结存数量", "ysl", R, 25),
                       col("结存金额", "yje", R, 25)},
                      QStringLiteral("总　　计"), true);
    all << listLayout("TFdyyffx1",
                      {col("日期", "rq", C, 25), col("单号", "dh", C, 35), col("厂商", "ghs", L, 48),
                       col("应付额", "yfe", R, 28), col("实付额", "sfe", R, 27), col("欠款", "qk", R, 27)},
                      total);
    all << listLayout("TFdyfkfx1",
                      {col("日期", "rq", C, 25), col("单号", "dh", C, 35), col("厂商", "ghs", L, 55),
                       col("付款金额", "je", R, 40), col("经办人", "jsr", L, 35)},
                      total);
    all << listLayout("TFdyszfx1",
                      {col("日期", "rq", C, 25), col("类别", "lb", L, 25), col("项目", "xm", L, 45),
                       col("收入额", "se", R, 32), col("支出额", "ze", R, 32), col("经办人", "jsr", L, 31)},
                      total);
    all << combinedStatisticsLayout();
    all << listLayout("TFdyrkgl1",
                      {col("日期", "rq", C, 25), col("单号", "dh", C, 35), col("异动原因", "lx", L, 40),
                       col("合计数量", "hjsl", R, 28), col("合计金额", "hjje", R, 30), col("经办人", "jsr", L, 32)},
                      total);
    all << listLayout("TFdyyg1",
                      {col("姓名", "xm", L, 35), col("性别", "xb", L, 20), col("电话", "dh", L, 40),
                       col("住址", "dz", L, 95)},
                      {});
    all << documentLayout("TFdydbd1", DocKind::Transfer, true);
    all << listLayout("TFdydbgl1",
                      {col("日期", "rq", C, 25), col("单号", "dh", C, 35), col("调出仓库", "ck1", L, 36),
                       col("调入仓库", "ck2", L, 36), col("合计数量", "hjsl", R, 28), col("合计金额", "hjje", R, 30)},
                      total);
    all << documentLayout("TFdyxsd2", DocKind::Sales, true);
    all << documentLayout("TFdycgd2", DocKind::Purchase, true);
    return all;
}

struct Registry {
    QList<PrintLayout> layouts;
    QHash<QString, int> byName;
};

Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

void PrintLayouts::createAll()
{
    Registry &r = registry();
    if (!r.layouts.isEmpty()) return;
    r.layouts = buildAll();
    for (int i = 0; i < r.layouts.size(); ++i) r.byName.insert(r.layouts[i].name, i);
}

const PrintLayout *PrintLayouts::find(const QString &name)
{
    createAll();
    const Registry &r = registry();
    const int i = r.byName.value(name, -1);
    return i < 0 ? nullptr : &r.layouts[i];
}

const PrintLayout &PrintLayouts::get(const QString &name)
{
    if (const PrintLayout *l = find(name)) return *l;
    throw std::out_of_range("no print layout " + name.toStdString());
}

QStringList PrintLayouts::names()
{
    createAll();
    QStringList out;
    for (const auto &l : registry().layouts) out << l.name;
    return out;
}
