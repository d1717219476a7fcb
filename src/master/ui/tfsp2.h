// The document-line picker 选择商品资料: not modal, one instance, serving whichever document
// window opened it last; each choice appends a line to that window's document.
#pragma once

#include "master/goods_picking.h"

#include <QPointer>
#include <QWidget>

class GoodsPickerPanel;

class TFsp2 : public QWidget {
    Q_OBJECT
public:
    explicit TFsp2(QWidget *parent = nullptr);
    ~TFsp2() override;

    // What a document window's "选择商品" does: refuses with "仓库不可为空！" (for the transfer
    // "调出仓库不可为空！") while the caller has no warehouse; otherwise brings the picker forward
    // or makes it, and points it at the caller: its mark ("tjcg", "tjxs", "tjpf", "tjrk",
    // "tjdb"), that mark's price column, the caller's warehouse and that warehouse's goods.
    // Returns the picker, nullptr after a refusal.
    static TFsp2 *openFor(const QString &mark, GoodsLineCaller &caller);
    // Closes the picker when it serves `caller`; a document window calls this as it closes.
    static void closeFor(const GoodsLineCaller &caller);
    static TFsp2 *instance();

    void retarget(const QString &mark, GoodsLineCaller &caller);
    GoodsPickerPanel *panel() const { return panel_; }
    void chooseClick();

private:
    GoodsPickerPanel *panel_ = nullptr;
    GoodsLineCaller *caller_ = nullptr;
    QPointer<QObject> callerObject_;   // set when the caller is a QObject: a closed caller is never called
    bool callerIsObject_ = false;
};
