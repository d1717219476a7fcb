// The about window.
#pragma once

#include <QDialog>

class TFgy1 : public QDialog {
    Q_OBJECT
public:
    explicit TFgy1(QWidget *parent = nullptr);
};
