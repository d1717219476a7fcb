#include "admin/ui/tflikai1.h"

#include "admin/operator_book.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

TFlikai1::TFlikai1(const QString &operatorName, QWidget *parent) : QDialog(parent)
{
    // A title but no title-bar buttons: only "解锁" and "取消" leave the window.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("本系统已被锁定，请输入用户密码，解除锁定"));
    user_ = new QLineEdit(operatorName, this);
    user_->setObjectName(QStringLiteral("Edit1"));
    user_->setReadOnly(true);
    user_->setFocusPolicy(Qt::NoFocus);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("Edit2"));
    password_->setEchoMode(QLineEdit::Password);
    auto *unlock = new QPushButton(QStringLiteral("解锁"), this);
    unlock->setObjectName(QStringLiteral("BitBtn1"));
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton *b : {unlock, cancel}) b->setAutoDefault(false);

    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("当前用户"), this), 0, 0);
    form->addWidget(user_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("用户密码"), this), 1, 0);
    form->addWidget(password_, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(unlock);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(unlock, &QPushButton::clicked, this, &TFlikai1::unlockClicked);
    connect(cancel, &QPushButton::clicked, this, [this] {
        leaving_ = true;
        reject();
    });
    KeyFlow::enterMovesFocus(this, unlock);   // the password is the one field: Enter unlocks
    password_->setFocus();
}

void TFlikai1::unlockClicked()
{
    OperatorBook::Unlock r;
    try {
        r = OperatorBook(book()).unlock(user_->text(), password_->text());
    } catch (const DbError &err) {
        prompt().error(err.text());
        return;
    }
    if (r == OperatorBook::Unlock::Unlocked) {
        leaving_ = true;
        accept();
    } else if (r == OperatorBook::Unlock::WrongPassword) {
        prompt().info(OperatorBook::WrongUnlockMessage);
        password_->selectAll();
        password_->setFocus();
    }
}

void TFlikai1::keyPressEvent(QKeyEvent *e)
{
    // Esc and Alt+F4 would leave the lock without the password.
    if (e->key() == Qt::Key_Escape || (e->key() == Qt::Key_F4 && (e->modifiers() & Qt::AltModifier))) return;
    QDialog::keyPressEvent(e);
}

void TFlikai1::closeEvent(QCloseEvent *e)
{
    if (!leaving_) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}
