// Lock window "本系统已被锁定…": hides the work until the logged-in operator types his password
// again; "取消" ends the program.
#pragma once

#include <QDialog>

class QLineEdit;

class TFlikai1 : public QDialog {
    Q_OBJECT
public:
    explicit TFlikai1(const QString &operatorName, QWidget *parent = nullptr);

public slots:
    void unlockClicked();   // "解锁": accepted when the password is right

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    QLineEdit *user_ = nullptr;       // Edit1
    QLineEdit *password_ = nullptr;   // Edit2
    bool leaving_ = false;
};
