#include "master/ui/tfcxsp1.h"

#include "app/data/dm1.h"
#include "app/session.h"
#include "app/widgets/form_dialog.h"
#include "app/widgets/key_flow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFcxsp1::TFcxsp1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFcxsp1"));
    setWindowTitle(QStringLiteral("按条件查询"));
    st1_ = new QLineEdit(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();
    auto *form = new QGridLayout;
    const char *labels[] = {"商品类别", "商品编码", "商品名称", "存放仓库"};
    for (int i = 0; i < 4; ++i) {
        edits_[i] = new QLineEdit(this);
        edits_[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        form->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), i, 0);
        form->addWidget(edits_[i], i, 1);
    }
    stock_ = new QComboBox(this);
    stock_->setObjectName(QStringLiteral("ComboBox1"));
    stock_->addItems({QStringLiteral("全部"), QStringLiteral("库存＞0"), QStringLiteral("库存＝0"), QStringLiteral("库存＜0")});
    form->addWidget(new QLabel(QStringLiteral("库存数量"), this), 4, 0);
    form->addWidget(stock_, 4, 1);

    auto *query = layOutFormDialog(this, form, QStringLiteral("查询")).main;   // the drop-down is last: Enter there queries
    connect(query, &QPushButton::clicked, this, &TFcxsp1::queryClick);
    setFixedSize(sizeHint().expandedTo(QSize(300, 220)));
}

void TFcxsp1::setTarget(GoodsQueryTarget *target)
{
    goods_ = target;
    stockList_ = nullptr;
    st1_->setText(QStringLiteral("sp"));
}

void TFcxsp1::setTarget(StockQueryTarget *target)
{
    stockList_ = target;
    goods_ = nullptr;
    st1_->setText(QStringLiteral("kc"));
}

QString TFcxsp1::mode() const { return st1_->text(); }

void TFcxsp1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    for (QLineEdit *edit : edits_) edit->clear();
    stock_->setCurrentIndex(0);
    edits_[0]->setFocus();
}

GoodsFilter TFcxsp1::filter() const
{
    GoodsFilter f;
    f.lb = edits_[0]->text();
    f.txm = edits_[1]->text();
    f.ppgg = edits_[2]->text();
    f.ck = edits_[3]->text();
    f.stock = GoodsFilter::Stock(stock_->currentIndex());
    return f;
}

void TFcxsp1::queryClick()
{
    const GoodsFilter f = filter();
    if (goods_) {
        goods_->applyGoodsFilter(f);
    } else if (stockList_) {
        const auto [quantity, value] =
            GoodsPicking::stockTotalsTexts(GoodsCatalogue(book()).totals(f), session::current().stkcjg);
        stockList_->applyStockFilter(f, quantity, value);
    }
    accept();
}
