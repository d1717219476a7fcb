// The splash window shown while the program starts.
#pragma once

#include <QWidget>

class TFqd1 : public QWidget {
    Q_OBJECT
public:
    TFqd1();

protected:
    void paintEvent(QPaintEvent *) override;
};
