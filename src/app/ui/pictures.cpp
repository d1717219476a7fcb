#include "app/ui/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pictures {

namespace {

QPixmap canvas(QSize size, QColor top, QColor bottom)
{
    QPixmap p(size);
    QPainter g(&p);
    QLinearGradient grad(0, 0, 0, size.height());
    grad.setColorAt(0, top);
    grad.setColorAt(1, bottom);
    g.fillRect(p.rect(), grad);
    return p;
}

// A stack of bricks and a steel beam: the dealer's goods, as a small emblem.
void emblem(QPainter &g, QRectF r)
{
    g.setRenderHint(QPainter::Antialiasing);
    const qreal bw = r.width() / 3, bh = r.height() / 5;
    g.setPen(QPen(QColor(120, 40, 20), 1.5));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3 - row; ++col) {
            QRectF b(r.left() + col * bw + row * bw / 2, r.bottom() - (row + 1) * bh, bw - 2, bh - 2);
            g.fillRect(b, QColor(196, 84, 44));
            g.drawRect(b);
        }
    g.fillRect(QRectF(r.left(), r.top() + bh, r.width(), bh * 0.5), QColor(90, 100, 120));
}

} // namespace

QPixmap splash(QSize size)
{
    QPixmap p = canvas(size, QColor(22, 72, 130), QColor(10, 30, 60));
    QPainter g(&p);
    emblem(g, QRectF(size.width() * 0.08, size.height() * 0.18, size.width() * 0.3, size.height() * 0.45));
    g.setPen(Qt::white);
    g.setFont(QFont(QStringLiteral("SimHei"), 26, QFont::Bold));
    g.drawText(QRect(int(size.width() * 0.42), int(size.height() * 0.2), int(size.width() * 0.56), 60),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QuorinMarvoda"));
    g.setFont(QFont(QStringLiteral("SimHei"), 20));
    g.drawText(QRect(int(size.width() * 0.42), int(size.height() * 0.2) + 60, int(size.width() * 0.56), 40),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("建材行业版 V2011"));
    g.setFont(QFont(QStringLiteral("SimSun"), 11));
    g.drawText(QRect(int(size.width() * 0.42), int(size.height() * 0.2) + 105, int(size.width() * 0.56), 30),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("进 · 销 · 存 · 财"));
    return p;
}

QPixmap banner(QSize size)
{
    QPixmap p = canvas(size, QColor(40, 110, 180), QColor(20, 60, 110));
    QPainter g(&p);
    emblem(g, QRectF(12, 8, size.height() * 1.1, size.height() - 16));
    g.setPen(Qt::white);
    g.setFont(QFont(QStringLiteral("SimHei"), 20, QFont::Bold));
    g.drawText(QRect(int(size.height() * 1.3), 0, size.width(), size.height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("业务导航图"));
    return p;
}

QPixmap flow(QSize size)
{
    QPixmap p = canvas(size, QColor(250, 250, 245), QColor(232, 238, 245));
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(70, 110, 160), 3));
    g.setBrush(Qt::NoBrush);
    // Goods come in from suppliers, sit in stock, and go out to customers.
    const int y = size.height() / 2;
    const int xs[] = {size.width() / 8, size.width() * 3 / 8, size.width() * 5 / 8, size.width() * 7 / 8};
    for (int i = 0; i < 3; ++i) {
        g.drawLine(xs[i] + 50, y, xs[i + 1] - 50, y);
        QPainterPath head;
        head.moveTo(xs[i + 1] - 50, y);
        head.lineTo(xs[i + 1] - 62, y - 7);
        head.lineTo(xs[i + 1] - 62, y + 7);
        head.closeSubpath();
        g.fillPath(head, QColor(70, 110, 160));
    }
    g.setPen(QPen(QColor(180, 190, 205), 1.5));
    for (int x : xs) g.drawRoundedRect(QRect(x - 50, y - 30, 100, 60), 8, 8);
    return p;
}

QPixmap about(QSize size)
{
    QPixmap p = canvas(size, QColor(22, 72, 130), QColor(10, 30, 60));
    QPainter g(&p);
    emblem(g, QRectF(size.width() * 0.15, size.height() * 0.3, size.width() * 0.7, size.height() * 0.35));
    return p;
}

QPixmap programIcon(int side)
{
    QPixmap p(side, side);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient grad(0, 0, 0, side);
    grad.setColorAt(0, QColor(40, 110, 180));
    grad.setColorAt(1, QColor(10, 30, 60));
    g.setPen(Qt::NoPen);
    g.setBrush(grad);
    const qreal edge = side / 16.0;
    g.drawRoundedRect(QRectF(edge, edge, side - 2 * edge, side - 2 * edge), side / 6.0, side / 6.0);
    g.setBrush(Qt::NoBrush);
    emblem(g, QRectF(side * 0.18, side * 0.2, side * 0.64, side * 0.6));
    g.end();
    return p;
}

QIcon programIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) icon.addPixmap(programIcon(side));
    return icon;
}

} // namespace pictures
