#include "admin/ui/takeover_dialog.h"

#include "app/prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TakeOverDialog::TakeOverDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TakeOverDialog"));
    setWindowTitle(Caption);
    setModal(true);
    table_ = new QLabel(this);
    table_->setObjectName(QStringLiteral("Label1"));
    rows_ = new QLabel(this);
    rows_->setObjectName(QStringLiteral("Label2"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    report_ = new QPlainTextEdit(this);
    report_->setObjectName(QStringLiteral("Memo1"));
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    report_->hide();
    button_ = new QPushButton(QStringLiteral("取消"), this);
    button_->setObjectName(QStringLiteral("BitBtn1"));
    connect(button_, &QPushButton::clicked, this, &TakeOverDialog::cancelClicked);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(bar_);
    layout->addWidget(rows_);
    layout->addWidget(report_, 1);
    layout->addLayout(buttons);
    resize(520, 160);
}

void TakeOverDialog::cancelClicked()
{
    if (running_) {
        cancel_ = true;
        button_->setEnabled(false);
        rows_->setText(QStringLiteral("正在取消…"));
    } else {
        accept();
    }
}

void TakeOverDialog::reject()
{
    // Esc and the window's close button cancel like the button does.
    if (running_) cancelClicked();
    else QDialog::reject();
}

void TakeOverDialog::showProgress(const takeover::Progress &p)
{
    table_->setText(p.tableCount == 0 ? p.table : QStringLiteral("正在导入表 %1（%2/%3）").arg(p.table).arg(p.tableNo).arg(p.tableCount));
    // Rows of a table; of the steps after the tables, only the indexes have a count.
    QString rows;
    if (p.tableRows > 0) rows = QStringLiteral("%1 / %2").arg(p.rows).arg(p.tableRows);
    else if (p.tableCount > 0) rows = QString::number(p.rows);
    if (p.tableCount > 0) rows += QStringLiteral(" 行");
    rows_->setText(rows);
    bar_->setRange(0, p.tableRows > 0 ? 1000 : 1);
    bar_->setValue(p.tableRows > 0 ? int(p.rows * 1000 / p.tableRows) : 1);
}

void TakeOverDialog::showReport(const takeover::Result &r)
{
    table_->setText(r.reportFile.isEmpty() ? QStringLiteral("导入完成。")
                                           : QStringLiteral("导入完成，报告已保存为 ") + QDir::toNativeSeparators(r.reportFile));
    rows_->hide();
    bar_->hide();
    report_->setPlainText(r.report.text());
    report_->show();
    button_->setText(QStringLiteral("确定"));
    button_->setEnabled(true);
    button_->setDefault(true);
    button_->setFocus();
    resize(760, 520);
}

bool TakeOverDialog::run(const QString &mdbFile, const BookLocation &where)
{
    show();
    QElapsedTimer shown;
    shown.start();
    running_ = true;
    const takeover::Result r = takeover::takeOverAccessBook(
        mdbFile, where,
        [&](const takeover::Progress &p) {
            // Painting every call would cost more than the rows; a few times a second is smooth.
            if (shown.elapsed() < 50 && p.rows != 0) return;
            shown.restart();
            showProgress(p);
            QCoreApplication::processEvents();
        },
        &cancel_);
    running_ = false;
    if (!r.ok) {
        hide();
        if (r.cancelled) prompt().info(r.why);
        else prompt().warn(r.why);
        return false;
    }
    showReport(r);
    hide();
    exec();
    return true;
}

namespace takeover {

bool offerAtStart(const BookLocation &where)
{
    if (where.engine != Database::Engine::SQLite || QFileInfo::exists(where.file)) return false;
    const QDir dir = QFileInfo(where.file).absoluteDir();
    const QStringList found = dir.entryList({AccessBookName}, QDir::Files);
    if (found.isEmpty() || !prompt().yesNo(OfferQuestion)) return false;
    return runWithDialog(dir.filePath(found.first()), where);
}

bool runWithDialog(const QString &mdbFile, const BookLocation &where)
{
    TakeOverDialog d;
    return d.run(mdbFile, where);
}

} // namespace takeover
