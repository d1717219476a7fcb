// The connection settings of this counter: the book in this computer's folder, or the shop's server.
#pragma once

#include "app/data/database.h"

#include <QDialog>

class DM1;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFljsz1 : public QDialog {
    Q_OBJECT
public:
    explicit TFljsz1(DM1 &dm, QWidget *parent = nullptr);

    // The book the fields describe.
    BookLocation chosen() const;

    void testClicked();   // "测试连接"
    void okClicked();     // "确定": saves, and moves the data module to the chosen book

protected:
    void showEvent(QShowEvent *e) override;

private:
    void display(const BookLocation &where);
    void kindChanged();
    // Says which field is still to fill; true when none is.
    bool filled(const BookLocation &where);
    // A whole line from the server script pasted into any server field fills them all.
    void fieldEdited(QLineEdit *field);
    void showServer(const BookLocation &server);

    DM1 &dm_;
    QRadioButton *local_;
    QRadioButton *server_;
    QLineEdit *folder_;
    QLineEdit *host_;
    QLineEdit *port_;
    QLineEdit *database_;
    QLineEdit *user_;
    QLineEdit *password_;
    QPushButton *test_;
    QPushButton *ok_;
    QPushButton *cancel_;
};
