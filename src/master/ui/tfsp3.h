// The assembly picker: chooses the whole or the part of an assembly or disassembly from one
// warehouse's goods and fills the caller's goods fields.
#pragma once

#include "master/goods_picking.h"

#include <QDialog>

class GoodsPickerPanel;

class TFsp3 : public QDialog {
    Q_OBJECT
public:
    // `mark` "zu1", "zu2", "chai1" or "chai2"; `warehouse` the caller's ck1 or ck2.
    TFsp3(const QString &mark, const QString &warehouse, AssemblyGoodsCaller &caller, QWidget *parent = nullptr);

    // What the assembly window's "选择整件" / "选择零件" does: refuses with "整件仓库不可为空！"
    // or "零件仓库不可为空！" when the warehouse is empty; otherwise sets the caller's "sao" to
    // "xuan", shows the picker modally with `caption`, and returns whether goods were chosen.
    // The caller's "sao" reads "sao" again afterwards in either case.
    static bool pick(const QString &mark, const QString &warehouse, AssemblyGoodsCaller &caller,
                     const QString &caption, QWidget *parent);

    GoodsPickerPanel *panel() const { return panel_; }
    void chooseClick();
    void done(int r) override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    GoodsPickerPanel *panel_ = nullptr;
    AssemblyGoodsCaller &caller_;
};
