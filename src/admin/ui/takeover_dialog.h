// The take-over of an Access book in the program: a progress dialog table by table with its
// rows and a cancel button, then the report.
#pragma once

#include "admin/takeover.h"

#include <QDialog>

#include <atomic>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class TakeOverDialog : public QDialog {
    Q_OBJECT
public:
    explicit TakeOverDialog(QWidget *parent = nullptr);

    // Shows the progress while the take-over runs; the cancel button stops it and nothing is
    // made. Then shows the report and waits for "确定"; a refusal or failure is told through
    // the Prompter instead. True when the new book is in place.
    bool run(const QString &mdbFile, const BookLocation &where);

    static inline const QString Caption = QStringLiteral("导入Access数据库");

public slots:
    void cancelClicked();
    void reject() override;

private:
    void showProgress(const takeover::Progress &p);
    void showReport(const takeover::Result &r);

    QLabel *table_ = nullptr;
    QLabel *rows_ = nullptr;
    QProgressBar *bar_ = nullptr;
    QPlainTextEdit *report_ = nullptr;
    QPushButton *button_ = nullptr;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
};

namespace takeover {

// At a start that finds no book: when the data folder holds KLVData1.mdb, offers to take it
// over and runs it with the dialog. True when a book was made.
bool offerAtStart(const BookLocation &where);

// The chosen Access file taken over with the dialog (the first start's "导入Access账套").
bool runWithDialog(const QString &mdbFile, const BookLocation &where);

inline const QString OfferQuestion = QStringLiteral("发现Access数据库KLVData1.mdb，是否导入？");

} // namespace takeover
