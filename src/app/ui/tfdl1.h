// The login dialog: the operator chooses his name and types his password.
#pragma once

#include <QDialog>

class Database;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFdl1 : public QDialog {
    Q_OBJECT
public:
    explicit TFdl1(Database &db, QWidget *parent = nullptr);

    // Fills the name list; false when the operators cannot be read (the program then ends).
    bool formShow();
    QString operatorName() const;

    void confirmLogin();         // "确定"
    void connectionSettings();   // "连接设置": another book, and its operators in the list

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    Database &db_;
    QComboBox *names_;
    QLineEdit *password_;
    QPushButton *ok_;
    QPushButton *cancel_;
    QLabel *hint_;
    QPushButton *settings_;
    bool leaving_ = false;
};
