#include "app/ui/tfscqd1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/ui/tfljsz1.h"
#include "app/widgets/key_flow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFscqd1::TFscqd1(DM1 &dm, TakeOverRun takeOver, QWidget *parent)
    : QDialog(parent), dm_(dm), takeOver_(std::move(takeOver))
{
    setObjectName(QStringLiteral("TFscqd1"));
    setWindowTitle(Caption);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("Edit1"));
    password_->setEchoMode(QLineEdit::Password);
    confirm_ = new QLineEdit(this);
    confirm_->setObjectName(QStringLiteral("Edit2"));
    confirm_->setEchoMode(QLineEdit::Password);
    QPushButton *create = KeyFlow::button(this, QStringLiteral("新建账套"), QStringLiteral("BitBtn1"));
    QPushButton *access = KeyFlow::button(this, QStringLiteral("导入Access账套"), QStringLiteral("BitBtn2"));
    QPushButton *server = KeyFlow::button(this, QStringLiteral("连接设置"), QStringLiteral("BitBtn3"));
    QPushButton *quit = KeyFlow::button(this, QStringLiteral("退出"), QStringLiteral("BitBtn4"));

    auto *intro = new QLabel(QStringLiteral("本机还没有账套（%1），请选择：")
                                 .arg(QDir::toNativeSeparators(QFileInfo(dm_.db().location().file).absolutePath())),
                             this);
    intro->setWordWrap(true);
    auto *fresh = new QGroupBox(QStringLiteral("新建账套"), this);
    auto *form = new QGridLayout(fresh);
    form->addWidget(new QLabel(QStringLiteral("系统管理员密码"), fresh), 0, 0);
    form->addWidget(password_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("确认密码"), fresh), 1, 0);
    form->addWidget(confirm_, 1, 1);
    form->addWidget(create, 2, 1);
    auto *others = new QGroupBox(QStringLiteral("已有账套"), this);
    auto *row = new QGridLayout(others);
    row->addWidget(new QLabel(QStringLiteral("从旧软件的Access数据库KLVData1.mdb导入"), others), 0, 0);
    row->addWidget(access, 0, 1);
    row->addWidget(new QLabel(QStringLiteral("使用店里服务器上的账套（多台电脑共用）"), others), 1, 0);
    row->addWidget(server, 1, 1);
    auto *all = new QVBoxLayout(this);
    all->addWidget(intro);
    all->addWidget(fresh);
    all->addWidget(others);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(quit);
    all->addLayout(bottom);

    connect(create, &QPushButton::clicked, this, &TFscqd1::newBookClicked);
    connect(access, &QPushButton::clicked, this, &TFscqd1::takeOverClicked);
    connect(server, &QPushButton::clicked, this, &TFscqd1::settingsClicked);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    // Enter walks the two passwords and makes the book in the second; Esc leaves.
    KeyFlow::enterMovesFocus(fresh, create);
    KeyFlow::escCloses(this, quit);
    password_->setFocus();
}

std::function<QString(QWidget *)> &TFscqd1::accessFileChooser()
{
    static std::function<QString(QWidget *)> choose = [](QWidget *parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("选择Access数据库"), QDir::homePath(),
                                            QStringLiteral("Access数据库 (*.mdb)"));
    };
    return choose;
}

void TFscqd1::newBookClicked()
{
    if (password_->text() != confirm_->text()) {
        prompt().warn(PasswordsDifferMessage);
        confirm_->clear();
        confirm_->setFocus();
        return;
    }
    QString why;
    if (!createBook(dm_.db().location(), password_->text(), &why)) {
        prompt().error(QStringLiteral("创建账套失败：") + why);
        return;
    }
    prompt().info(CreatedMessage);
    accept();
}

void TFscqd1::takeOverClicked()
{
    const QString file = accessFileChooser()(this);
    if (file.isEmpty() || !takeOver_) return;
    if (takeOver_(file, dm_.db().location())) accept();
}

void TFscqd1::settingsClicked()
{
    TFljsz1 settings(dm_, this);
    if (settings.exec() == QDialog::Accepted) accept();
}
