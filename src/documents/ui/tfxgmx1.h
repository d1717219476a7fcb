// Line dialog 修改明细: changes quantity, price and discount rate of one line of a document.
#pragma once

#include "documents/ui/line_dialogs.h"

#include <QDialog>
#include <QHash>

class GoodsLineCaller;
class LineBuffer;
class QLineEdit;

class TFxgmx1 : public QDialog {
    Q_OBJECT
public:
    explicit TFxgmx1(QWidget *parent = nullptr) : TFxgmx1(LineDialogShape(), parent) {}
    TFxgmx1(const LineDialogShape &shape, QWidget *parent = nullptr);

    // Fills the fields from line `row` of `lines`; `mode` "cgmx", "xsmx" or "pfmx" names the
    // calling window, whose totals follow the save.
    void edit(const QString &mode, LineBuffer &lines, int row, GoodsLineCaller &caller);
    QString mode() const;

    void saveClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    void recomputeAmount();

    QHash<QString, QLineEdit *> fields_;
    QLineEdit *st1_ = nullptr;
    LineBuffer *lines_ = nullptr;
    GoodsLineCaller *caller_ = nullptr;
    int row_ = -1;
    bool discount_ = true;
};
