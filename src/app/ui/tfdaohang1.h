// The navigation window: a picture of the daily flow with hot spots that open the windows.
#pragma once

#include <QLabel>
#include <QWidget>

class TFmain1;

// A text over the picture that turns green under the mouse and performs a menu command.
class HotSpot : public QLabel {
    Q_OBJECT
public:
    HotSpot(const QString &caption, QWidget *parent);
signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
};

class TFdaohang1 : public QWidget {
    Q_OBJECT
public:
    explicit TFdaohang1(TFmain1 *main);
};
