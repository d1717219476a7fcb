// Discount dialog 整单折扣率: one discount rate for every line of a document.
#pragma once

#include <QDialog>

class GoodsLineCaller;
class LineBuffer;
class QLineEdit;

class TFxgmx4 : public QDialog {
    Q_OBJECT
public:
    explicit TFxgmx4(QWidget *parent = nullptr);

    void edit(const QString &mode, LineBuffer &lines, GoodsLineCaller &caller);
    QString mode() const;

    void saveClick();

private:
    QLineEdit *zk_ = nullptr;
    QLineEdit *st1_ = nullptr;
    LineBuffer *lines_ = nullptr;
    GoodsLineCaller *caller_ = nullptr;
};
