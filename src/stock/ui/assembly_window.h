// The assembly and disassembly windows: choose the whole and its quantity, keep its parts list
// with their coefficients, and confirm. TFzu1 and TFchai1 say which of the two.
#pragma once

#include "master/goods_picking.h"
#include "master/lookup_list.h"
#include "stock/assembly.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableView;
class RecordTableModel;

class AssemblyWindow : public QDialog, public AssemblyGoodsCaller, public LookupCaller {
    Q_OBJECT
public:
    RecordTableModel *model() const { return model_; }
    QTableView *grid() const { return grid_; }
    QLineEdit *field(const QString &name) const;
    QString sao() const;

    void addPartClick();
    void removePartClick();
    void confirmClick();
    void pickWarehouse(int step);   // 1 the whole's, 2 the parts'
    void pickGoods(int step);

    void assemblyGoodsChosen(const QString &mark, const PickedGoods &goods) override;
    void setSao(const QString &value) override;
    void lookupChosen(LookupKind kind, const QString &mark, const QString &value) override;

protected:
    struct Texts {
        QString caption;
        QString stepOne, stepTwo;
        QString quantityCaption, quantityHelp1, quantityHelp2;
        QString coefficientCaption, coefficientHelp1, coefficientHelp2;
        QString confirmCaption, partsColumn6, partsColumn7;
    };
    AssemblyWindow(const AssemblyKind &kind, const Texts &texts, QWidget *parent);

private:
    void codeTyped(int step);
    void quantityChanged();
    void showParts();
    void fill(int step, const PickedGoods &g);
    void refuse(const Refusal &r);
    QString mark(int step) const;

    const AssemblyKind &kind_;
    AssemblyService service_;
    QLineEdit *ck_[2] = {}, *txm_[2] = {}, *ppgg_[2] = {}, *dw_[2] = {}, *kcsl_[2] = {}, *spid_[2] = {};
    QPushButton *pickCk_[2] = {};
    QLineEdit *quantity_ = nullptr, *coefficient_ = nullptr, *sao_ = nullptr;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
};
