#include "admin/ui/tfquanxian1.h"

#include "admin/operator_book.h"
#include "app/data/dm1.h"
#include "app/data/schema.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFquanxian1::TFquanxian1(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("权限设置"));
    operators_ = new QComboBox(this);
    operators_->setObjectName(QStringLiteral("ComboBox1"));
    operators_->setEditable(false);
    operators_->setMinimumWidth(180);

    auto *group = new QGroupBox(QStringLiteral("选择权限"), this);
    auto *grid = new QGridLayout(group);
    const QStringList &names = schema::permissionNames();
    for (int i = 0; i < names.size(); ++i) {
        auto *box = new QCheckBox(names[i], group);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        grid->addWidget(box, i / 3, i % 3);
        boxes_ << box;
    }

    auto *buttons = new QHBoxLayout;
    QPushButton *close = nullptr;
    const QStringList captions = {QStringLiteral("授权"), QStringLiteral("全选"), QStringLiteral("全否"), QStringLiteral("关闭")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *b = new QPushButton(captions[i], this);
        b->setObjectName(QStringLiteral("BitBtn%1").arg(i + 1));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        if (i == 0) connect(b, &QPushButton::clicked, this, &TFquanxian1::grantClicked);
        if (i == 1) connect(b, &QPushButton::clicked, this, [this] { tickAll(true); });
        if (i == 2) connect(b, &QPushButton::clicked, this, [this] { tickAll(false); });
        if (i == 3) close = b;
    }
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("选择操作员"), this));
    top->addWidget(operators_, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    KeyFlow::escCloses(this, close);

    // Read afresh on opening; nothing chosen and every box clear.
    operators_->addItems(OperatorBook(book()).names());
    operators_->setCurrentIndex(-1);
    connect(operators_, &QComboBox::currentIndexChanged, this, &TFquanxian1::showHeld);
}

void TFquanxian1::showHeld()
{
    const QSet<QString> held = OperatorBook(book()).permissions(operators_->currentText());
    for (int i = 0; i < boxes_.size(); ++i) boxes_[i]->setChecked(held.contains(schema::permissionNames()[i]));
}

void TFquanxian1::tickAll(bool on)
{
    for (QCheckBox *box : boxes_) box->setChecked(on);
}

void TFquanxian1::grantClicked()
{
    // The permission stored is the box's caption, character for character.
    QStringList ticked;
    for (int i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]->isChecked()) ticked << schema::permissionNames()[i];
    if (const std::optional<Refusal> refused = OperatorBook(book()).grant(operators_->currentText(), ticked)) {
        refused->show();
        operators_->setFocus();
        return;
    }
    prompt().info(OperatorBook::GrantedMessage);
}
