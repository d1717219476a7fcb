#include "master/ui/tfsp3.h"

#include "app/prompter.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "master/ui/goods_picker_panel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFsp3::TFsp3(const QString &mark, const QString &warehouse, AssemblyGoodsCaller &caller, QWidget *parent)
    : QDialog(parent), caller_(caller)
{
    setObjectName(QStringLiteral("TFsp3"));
    panel_ = new GoodsPickerPanel(true, this);
    panel_->setMark(mark);
    panel_->setWarehouse(warehouse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    resize(820, 460);
    connect(panel_, &GoodsPickerPanel::chooseRequested, this, &TFsp3::chooseClick);
    connect(panel_->closeButton(), &QPushButton::clicked, this, &QDialog::reject);
    KeyFlow::escCloses(this, panel_->closeButton());
}

bool TFsp3::pick(const QString &mark, const QString &warehouse, AssemblyGoodsCaller &caller, const QString &caption,
                 QWidget *parent)
{
    if (warehouse.trimmed().isEmpty()) {
        prompt().info(GoodsPicking::assemblyWarehouseMissingMessage(mark));
        return false;
    }
    caller.setSao(GoodsPicking::PickerOpen);
    TFsp3 d(mark, warehouse, caller, parent);
    d.setWindowTitle(caption);
    return d.exec() == QDialog::Accepted;
}

void TFsp3::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    panel_->clearSearch(true);
    panel_->searchBox()->setFocus();
}

void TFsp3::chooseClick()
{
    if (!ListWindow::requireRows(panel_->model(), QStringLiteral("商品"), ListWindow::Choose)) return;
    GoodsRecord g;
    panel_->current(&g);
    caller_.assemblyGoodsChosen(panel_->mark(), PickedGoods{g.id, g.txm, g.ppgg, g.dw, g.kcsl});
    accept();
}

void TFsp3::done(int r)
{
    // The fields are filled while "sao" still reads "xuan", so the caller's own code lookup
    // does not run on them; then its lookups resume.
    caller_.setSao(GoodsPicking::PickerClosed);
    QDialog::done(r);
}
