#include "app/ui/tfqd1.h"

#include "app/ui/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TFqd1::TFqd1() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TFqd1"));
    setFixedSize(498, 356);
    if (QScreen *s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

void TFqd1::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), pictures::splash(size()));
    p.setPen(Qt::white);
    p.drawText(QRect(14, height() - 34, width() - 28, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("正在启动程序，请稍候"));
}
