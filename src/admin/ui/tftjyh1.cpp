#include "admin/ui/tftjyh1.h"

#include "admin/operator_book.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/form_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString Adding = QStringLiteral("新增操作员");
const QString Modifying = QStringLiteral("修改操作员");
const QString MyPassword = QStringLiteral("更改我的密码");
} // namespace

TFtjyh1::TFtjyh1(QWidget *parent) : QDialog(parent)
{
    auto *form = new QGridLayout;
    const char *labelNames[] = {"StaticText1", "ST3", "ST4"};
    QLineEdit **edits[] = {&edit1_, &edit2_, &edit3_};
    for (int i = 0; i < 3; ++i) {
        labels_[i] = new QLabel(this);
        labels_[i]->setObjectName(QString::fromLatin1(labelNames[i]));
        auto *e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        e->setMinimumWidth(200);
        if (i > 0) e->setEchoMode(QLineEdit::Password);
        labels_[i]->setBuddy(e);
        form->addWidget(labels_[i], i, 0);
        form->addWidget(e, i, 1);
        *edits[i] = e;
    }
    st1_ = new QLineEdit(this);
    st1_->setObjectName(QStringLiteral("ST1"));
    st1_->hide();

    auto *saveButton =
        layOutFormDialog(this, form, QStringLiteral("保存"), QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2")).main;
    connect(saveButton, &QPushButton::clicked, this, &TFtjyh1::save);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    startAdding();
}

QString TFtjyh1::mode() const { return st1_->text(); }

void TFtjyh1::setMode(const QString &mode, const QString &name)
{
    setWindowTitle(mode);
    st1_->setText(mode);
    const bool adding = mode == Adding;
    labels_[0]->setText(QStringLiteral("用户名称"));
    labels_[1]->setText(adding ? QStringLiteral("用户密码") : QStringLiteral("原设密码"));
    labels_[2]->setText(adding ? QStringLiteral("密码确认") : QStringLiteral("新设密码"));
    edit1_->setReadOnly(!adding);
    edit1_->setText(name);
    edit2_->clear();
    edit3_->clear();
}

void TFtjyh1::startAdding() { setMode(Adding, QString()); }
void TFtjyh1::startModifying(const QString &name) { setMode(Modifying, name); }
void TFtjyh1::startChangingMyPassword(const QString &name) { setMode(MyPassword, name); }

void TFtjyh1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    (mode() == Adding ? edit1_ : edit2_)->setFocus();
}

void TFtjyh1::save()
{
    OperatorBook ops(book());
    if (mode() == Adding) {
        if (const std::optional<Refusal> refused = ops.add(edit1_->text(), edit2_->text(), edit3_->text())) {
            refused->show();
            (refused->field == QStringLiteral("confirm") ? edit3_ : edit1_)->setFocus();
            return;
        }
        // The dialog stays open for the next operator.
        for (QLineEdit *e : {edit1_, edit2_, edit3_}) e->clear();
        edit1_->setFocus();
        return;
    }
    // The passwords are taken exactly as typed, blanks included.
    switch (ops.changePassword(edit1_->text(), edit2_->text(), edit3_->text())) {
    case OperatorBook::PasswordChange::NoOperator:
        return;
    case OperatorBook::PasswordChange::WrongOldPassword:
        prompt().info(OperatorBook::WrongOldPasswordMessage);
        edit2_->setFocus();
        return;
    case OperatorBook::PasswordChange::Changed:
        prompt().info(mode() == Modifying ? OperatorBook::ModifiedMessage : OperatorBook::MyPasswordChangedMessage);
        accept();
        return;
    }
}
