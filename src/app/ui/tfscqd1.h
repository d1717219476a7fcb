// First start without a book: make a new one, take over an Access book, or use the shop's server.
#pragma once

#include "app/data/database.h"

#include <QDialog>

#include <functional>

class DM1;
class QLineEdit;
class QPushButton;

class TFscqd1 : public QDialog {
    Q_OBJECT
public:
    // Runs the take-over of an Access file into the new book with its progress and report; true
    // when the book is in place. The administration provides it.
    using TakeOverRun = std::function<bool(const QString &mdbFile, const BookLocation &where)>;

    TFscqd1(DM1 &dm, TakeOverRun takeOver, QWidget *parent = nullptr);

    // Asks for the Access file; empty when the operator gives up. Tests put their own answer.
    static std::function<QString(QWidget *)> &accessFileChooser();

    void newBookClicked();     // "新建账套"
    void takeOverClicked();    // "导入Access账套"
    void settingsClicked();    // "连接设置"

    static inline const QString Caption = QStringLiteral("首次使用");
    static inline const QString PasswordsDifferMessage = QStringLiteral("两次输入的密码不一致！");
    static inline const QString CreatedMessage =
        QStringLiteral("账套已建立，请以“系统管理员”和刚才设置的密码登录。");

private:
    DM1 &dm_;
    TakeOverRun takeOver_;
    QLineEdit *password_;
    QLineEdit *confirm_;
};
