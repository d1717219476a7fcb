#include "admin/ui/tflikai1.h"

#include "admin/operator_book.h"
#include "admin/ui/dialog_buttons.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QCloseEvent>
#include <QGridLayout>
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
    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("当前用户"), this), 0, 0);
    form->addWidget(user_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("用户密码"), this), 1, 0);
    form->addWidget(password_, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    const DialogButtons buttons = addDialogButtons(this, layout, QStringLiteral("解锁"));
    setMinimumWidth(380);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons.command, &QPushButton::clicked, this, &TFlikai1::unlockClicked);
    // "取消" is the one way out besides the password; marked before it rejects the window.
    connect(buttons.cancel, &QPushButton::pressed, this, [this] { leaving_ = true; });
    KeyFlow::enterMovesFocus(this, buttons.command);   // the password is the one field: Enter unlocks
    password_->setFocus();
}

void TFlikai1::unlockClicked()
{
    const OperatorBook::Unlock r = OperatorBook(book()).unlock(user_->text(), password_->text());
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
