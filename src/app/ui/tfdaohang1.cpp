#include "app/ui/tfdaohang1.h"

#include "app/ui/pictures.h"
#include "app/ui/tfmain1.h"

#include <QMouseEvent>
#include <QPalette>

HotSpot::HotSpot(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setPointSize(12);
    f.setBold(true);
    setFont(f);
    adjustSize();
}

void HotSpot::enterEvent(QEnterEvent *e)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::green);
    setPalette(p);
    QLabel::enterEvent(e);
}

void HotSpot::leaveEvent(QEvent *e)
{
    setPalette(QPalette());
    QLabel::leaveEvent(e);
}

void HotSpot::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(e);
}

TFdaohang1::TFdaohang1(TFmain1 *main)
{
    setObjectName(QStringLiteral("TFdaohang1"));
    setWindowTitle(QStringLiteral("业务导航图"));
    const QSize bannerSize(710, 70), flowSize(710, 330);
    setFixedSize(710, 70 + 24 + 330);

    auto *banner = new QLabel(this);
    banner->setPixmap(pictures::banner(bannerSize));
    banner->setGeometry(0, 0, bannerSize.width(), bannerSize.height());
    auto *build = new QLabel(QStringLiteral("Build 2011.05.18"), this);
    build->setObjectName(QStringLiteral("Label1"));
    build->adjustSize();
    build->move(710 - build->width() - 8, 74);

    auto *flow = new QLabel(this);
    flow->setPixmap(pictures::flow(flowSize));
    flow->setGeometry(0, 94, flowSize.width(), flowSize.height());

    // Where each hot spot sits on the flow picture: suppliers → purchase → stock → sales → customers.
    const int y = 94 + flowSize.height() / 2;
    const QList<std::tuple<const char *, const char *, const char *, QPoint>> spots = {
        {"ghs", "○厂商", "厂商资料", {48, y - 10}},
        {"cg", "采购开单", "采购", {230, y - 10}},
        {"kc", "商品库存查询", "商品库存明细表", {395, y - 50}},
        {"bd", "调拨开单", "库存调拨", {410, y + 36}},
        {"xs", "零售开单", "零售", {582, y - 58}},
        {"pf", "批发开单", "批发", {582, y + 40}},
        {"kh", "○客户", "客户资料", {590, y - 10}},
        {"sp", "○商品", "商品资料", {180, y + 110}},
        {"help", "○帮助", "操作说明", {330, y + 110}},
        {"wd", "○问答", "常见问题", {480, y + 110}},
    };
    for (const auto &[name, caption, performs, at] : spots) {
        auto *s = new HotSpot(QString::fromUtf8(caption), this);
        s->setObjectName(QString::fromLatin1(name));
        s->move(at);
        const QString command = QString::fromUtf8(performs);
        connect(s, &HotSpot::clicked, this, [main, command] { main->perform(command); });
    }
}
