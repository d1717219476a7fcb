#include "app/ui/tfljsz1.h"

#include "app/book_folders.h"
#include "app/connection_settings.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/widgets/key_flow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const char *const LengthSeen = "marvodaLength";

// Text the dialog puts into a field itself, so that the next edit is measured from it.
void put(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setProperty(LengthSeen, qlonglong(text.size()));
}

} // namespace

TFljsz1::TFljsz1(DM1 &dm, QWidget *parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("TFljsz1"));
    setWindowTitle(QStringLiteral("连接设置"));
    local_ = new QRadioButton(QStringLiteral("本机账套"), this);
    local_->setObjectName(QStringLiteral("RB1"));
    server_ = new QRadioButton(QStringLiteral("服务器账套"), this);
    server_->setObjectName(QStringLiteral("RB2"));
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    folder_ = edit("Edit6");
    host_ = edit("Edit1");
    port_ = edit("Edit2");
    port_->setValidator(new QIntValidator(1, 65535, port_));
    database_ = edit("Edit3");
    user_ = edit("Edit4");
    password_ = edit("Edit5");
    password_->setEchoMode(QLineEdit::Password);
    test_ = KeyFlow::button(this, QStringLiteral("测试连接"), QStringLiteral("BB1"));
    ok_ = KeyFlow::button(this, QStringLiteral("确定"), QStringLiteral("BB2"));
    cancel_ = KeyFlow::button(this, QStringLiteral("取消"), QStringLiteral("BB3"));

    auto *grid = new QGridLayout(this);
    int row = 0;
    grid->addWidget(local_, row++, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("账套文件夹"), this), row, 0);
    grid->addWidget(folder_, row++, 1);
    grid->addWidget(server_, row++, 0, 1, 2);
    const std::pair<const char *, QLineEdit *> fields[] = {
        {"服务器", host_}, {"端口", port_}, {"数据库", database_}, {"用户名", user_}, {"密码", password_}};
    for (const auto &[caption, field] : fields) {
        auto *label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
        connect(field, &QLineEdit::textEdited, this, [this, f = field] { fieldEdited(f); });
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(test_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, row, 0, 1, 2);
    grid->setColumnMinimumWidth(1, 300);
    setFixedSize(sizeHint());

    connect(local_, &QRadioButton::toggled, this, &TFljsz1::kindChanged);
    connect(test_, &QPushButton::clicked, this, &TFljsz1::testClicked);
    connect(ok_, &QPushButton::clicked, this, &TFljsz1::okClicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    KeyFlow::enterMovesFocus(this, ok_);
    KeyFlow::escCloses(this, cancel_);

    display(dm_.db().location());
}

void TFljsz1::display(const BookLocation &where)
{
    const bool onServer = where.engine == BookLocation::Engine::PostgreSQL;
    // The folder shown is the book's own, or where a book on this computer would be.
    const std::optional<BookLocation> saved = ConnectionSettings::load();
    QString folder = book_folders::current().data;
    if (!onServer) folder = QFileInfo(where.file).absolutePath();
    else if (saved && saved->engine == BookLocation::Engine::SQLite) folder = QFileInfo(saved->file).absolutePath();
    put(folder_, QDir::toNativeSeparators(folder));
    if (onServer) {
        showServer(where);
    } else {
        put(port_, QStringLiteral("5432"));
        put(database_, QStringLiteral("marvoda"));
        put(user_, QStringLiteral("marvoda"));
    }
    (onServer ? server_ : local_)->setChecked(true);
    kindChanged();
}

void TFljsz1::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    (server_->isChecked() ? host_ : folder_)->setFocus();
}

void TFljsz1::kindChanged()
{
    const bool onServer = server_->isChecked();
    folder_->setEnabled(!onServer);
    for (QLineEdit *e : {host_, port_, database_, user_, password_}) e->setEnabled(onServer);
    (onServer ? host_ : folder_)->setFocus();
}

void TFljsz1::fieldEdited(QLineEdit *field)
{
    // Only text that arrives whole (pasted) is taken apart: someone typing the line by hand
    // would otherwise see the fields filled from its first half.
    const QString text = field->text();
    const qsizetype before = field->property(LengthSeen).toLongLong();
    field->setProperty(LengthSeen, qlonglong(text.size()));
    if (text.size() - before < 2) return;
    const std::optional<BookLocation> line = ConnectionSettings::parseLine(text);
    if (!line) return;
    showServer(*line);
    ok_->setFocus();
}

void TFljsz1::showServer(const BookLocation &server)
{
    put(host_, server.host);
    put(port_, QString::number(server.port));
    put(database_, server.database);
    put(user_, server.user);
    put(password_, server.password);
}

BookLocation TFljsz1::chosen() const
{
    if (local_->isChecked())
        return BookLocation::sqlite(Database::bookFileIn(QDir::fromNativeSeparators(folder_->text().trimmed())));
    BookLocation l;
    l.engine = BookLocation::Engine::PostgreSQL;
    l.host = host_->text().trimmed();
    l.port = port_->text().toInt();
    l.database = database_->text().trimmed();
    l.user = user_->text().trimmed();
    l.password = password_->text();
    return l;
}

void TFljsz1::testClicked()
{
    const BookLocation where = chosen();
    if (!filled(where)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString refusal = ConnectionSettings::check(where);
    QApplication::restoreOverrideCursor();
    if (refusal.isEmpty()) prompt().info(ConnectionSettings::ConnectedMessage);
    else prompt().warn(refusal);
}

bool TFljsz1::filled(const BookLocation &where)
{
    // A field still to fill is missing input; a book that cannot be reached is a warning.
    const QString missing = ConnectionSettings::missingField(where);
    if (!missing.isEmpty()) prompt().info(missing);
    return missing.isEmpty();
}

void TFljsz1::okClicked()
{
    const BookLocation where = chosen();
    if (!filled(where)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    const bool moved = ConnectionSettings::switchTo(dm_, where, &why);
    QApplication::restoreOverrideCursor();
    if (!moved) {
        prompt().warn(why);
        return;
    }
    if (!ConnectionSettings::save(where, &why)) prompt().warn(ConnectionSettings::NotSavedMessage + why);
    accept();
}
