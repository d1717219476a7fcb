#include "app/ui/tfdl1.h"

#include "app/data/database.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/session.h"
#include "app/ui/tfljsz1.h"

#include <QComboBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFdl1::TFdl1(Database &db, QWidget *parent)
    : QDialog(parent), db_(db)
{
    // A title but no title-bar buttons: only "确定" and "取消" leave the dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setObjectName(QStringLiteral("TFdl1"));
    setWindowTitle(QStringLiteral("登录系统"));
    names_ = new QComboBox(this);
    names_->setObjectName(QStringLiteral("ComboBox1"));
    names_->setEditable(false);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("Edit1"));
    password_->setEchoMode(QLineEdit::Password);
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName(QStringLiteral("SpeedButton1"));
    ok_->setAutoDefault(false);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName(QStringLiteral("SpeedButton2"));
    cancel_->setAutoDefault(false);
    settings_ = new QPushButton(QStringLiteral("连接设置"), this);
    settings_->setObjectName(QStringLiteral("SpeedButton3"));
    settings_->setAutoDefault(false);
    hint_ = new QLabel(QStringLiteral("提示：新建账套的“系统管理员”初始密码为空，登录后请及时更改。"), this);
    hint_->setObjectName(QStringLiteral("Label1"));
    hint_->setWordWrap(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("用户名称"), this), 0, 0);
    grid->addWidget(names_, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("用户密码"), this), 1, 0);
    grid->addWidget(password_, 1, 1, 1, 2);
    grid->addWidget(hint_, 2, 0, 1, 3);
    grid->addWidget(settings_, 3, 0);
    grid->addWidget(ok_, 3, 1);
    grid->addWidget(cancel_, 3, 2);
    setFixedSize(340, 170);

    connect(ok_, &QPushButton::clicked, this, &TFdl1::confirmLogin);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        leaving_ = true;
        reject();
    });
    connect(settings_, &QPushButton::clicked, this, &TFdl1::connectionSettings);
    names_->installEventFilter(this);
    password_->installEventFilter(this);
}

bool TFdl1::formShow()
{
    password_->clear();
    names_->clear();
    try {
        names_->addItems(session::operatorNames(db_));
        hint_->setVisible(session::builtInPasswordIsEmpty(db_));
    } catch (const DbError &) {
        return false;
    }
    // The first name stands chosen: the operator types his password at once and presses Enter.
    if (names_->count() > 0) password_->setFocus();
    else names_->setFocus();
    return true;
}

void TFdl1::connectionSettings()
{
    // The operators come from the book chosen there.
    if (!DM1::current()) return;
    TFljsz1 settings(*DM1::current(), this);
    if (settings.exec() == QDialog::Accepted && !formShow()) prompt().error(DM1::MissingBookMessage);
}

QString TFdl1::operatorName() const { return names_->currentText(); }

void TFdl1::confirmLogin()
{
    const session::LoginResult r = session::login(db_, names_->currentText(), password_->text());
    if (r == session::LoginResult::Ok) {
        leaving_ = true;
        accept();
        return;
    }
    prompt().info(session::loginMessage(r));
    if (r == session::LoginResult::NoName) names_->setFocus();
}

bool TFdl1::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            if (o == names_) password_->setFocus();
            else confirmLogin();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TFdl1::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        cancel_->click();
        return;
    }
    if (e->key() == Qt::Key_F4 && (e->modifiers() & Qt::AltModifier)) return;   // swallowed
    QDialog::keyPressEvent(e);
}

void TFdl1::closeEvent(QCloseEvent *e)
{
    // Only "确定" and "取消" leave the dialog; the window manager's close is refused.
    if (!leaving_) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}
