#include "master/ui/tfsp2.h"

#include "app/prompter.h"
#include "app/ui/tfmain1.h"
#include "app/widgets/key_flow.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "master/ui/goods_picker_panel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<TFsp2> openPicker;
}

TFsp2::TFsp2(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFsp2"));
    setWindowTitle(QStringLiteral("选择商品资料"));
    setAttribute(Qt::WA_DeleteOnClose);
    panel_ = new GoodsPickerPanel(false, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    resize(820, 460);
    connect(panel_, &GoodsPickerPanel::chooseRequested, this, &TFsp2::chooseClick);
    connect(panel_->closeButton(), &QPushButton::clicked, this, [this] { KeyFlow::closeWindow(this); });
    KeyFlow::escCloses(this, panel_->closeButton());
    openPicker = this;
}

TFsp2::~TFsp2()
{
    if (openPicker == this) openPicker = nullptr;
}

TFsp2 *TFsp2::instance() { return openPicker; }

TFsp2 *TFsp2::openFor(const QString &mark, GoodsLineCaller &caller)
{
    if (caller.currentWarehouse().trimmed().isEmpty()) {
        prompt().info(GoodsPicking::warehouseMissingMessage(mark));
        return nullptr;
    }
    TFsp2 *picker = openPicker;
    if (TFmain1 *main = TFmain1::instance()) {
        picker = main->openChild<TFsp2>();
    } else if (!picker) {
        picker = new TFsp2;   // no main window (tests, tools): a window of its own
        picker->show();
    } else {
        picker->raise();
        picker->activateWindow();
    }
    picker->retarget(mark, caller);
    return picker;
}

void TFsp2::closeFor(const GoodsLineCaller &caller)
{
    if (openPicker && openPicker->caller_ == &caller) KeyFlow::closeWindow(openPicker);
}

void TFsp2::retarget(const QString &mark, GoodsLineCaller &caller)
{
    caller_ = &caller;
    callerObject_ = dynamic_cast<QObject *>(&caller);
    callerIsObject_ = callerObject_ != nullptr;
    panel_->setMark(mark);
    panel_->showPriceColumn(GoodsPicking::priceColumn(mark));
    panel_->setWarehouse(caller.currentWarehouse());
    panel_->clearSearch(false);
    panel_->showWarehouse();
    panel_->searchBox()->setFocus();
}

void TFsp2::chooseClick()
{
    if (!ListWindow::requireRows(panel_->model(), QStringLiteral("商品"), ListWindow::Choose)) return;
    if (!caller_ || (callerIsObject_ && !callerObject_)) return;
    GoodsRecord goods;
    panel_->current(&goods);
    const auto line = GoodsPicking::lineFor(panel_->mark(), goods);
    if (!line) return;
    caller_->appendGoodsLine(*line);
    caller_->recomputeTotals();
}
